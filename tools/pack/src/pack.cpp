#include "pack.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <system_error>
#include <thread>

#include "bmp_check.h"
#include "checksums.h"
#include "deploy_installer.h"
#include "frame.h"
#include "installer_file.h"
#include "jobs.h"
#include "licence.h"
#include "order_file.h"
#include "settings_check.h"
#include "settings_file.h"
#include "solid_pack.h"
#include "stamps.h"
#include "format/output_names.h"
#include "format/resource_ids.h"
#include "text_file.h"

namespace fs = std::filesystem;

namespace pack {

namespace format = setup::format;

namespace {

constexpr char kStampsName[] = "pack.stamps";
constexpr std::size_t kMaxListedWarnings = 20;

// Everything read and checked, before anything is written.
struct Inputs {
    Settings settings;
    PayloadOrder order;
    BmpInfo skin;
    std::string licence_gbk;
    Problems problems, warnings;
};

std::optional<std::string> Read(const fs::path& path, const char* what, Problems& problems) {
    std::error_code ec;
    std::optional<std::string> text;
    std::string reason;
    if (fs::is_regular_file(path, ec))
        text = ReadWholeFile(path, &reason);
    else
        reason = ec ? ec.message() : "not a file";
    if (!text)
        problems.push_back(
            {path.string(), 0, std::string("cannot read the ") + what + ": " + reason});
    return text;
}

void Append(Problems& to, const Problems& from) {
    to.insert(to.end(), from.begin(), from.end());
}

Inputs ReadInputs(const Options& o) {
    Inputs in;
    if (auto text = Read(o.settings, "settings file", in.problems)) {
        in.settings = ParseSettings(*text, o.settings.string());
        Append(in.problems, in.settings.problems);
        Append(in.warnings, in.settings.warnings);
    }
    std::error_code ec;
    bool order_ok = false;
    if (!fs::is_directory(o.payload, ec))
        in.problems.push_back({o.payload.string(), 0, "not a folder"});
    else if (auto text = Read(o.order, "order file", in.problems)) {
        order_ok = true;
        in.order = ParseOrder(*text, o.order.string(), o.payload);
        Append(in.problems, in.order.problems);
        std::vector<std::string> unlisted = UnlistedFiles(o.payload, in.order.entries, in.warnings);
        for (std::size_t i = 0; i < unlisted.size() && i < kMaxListedWarnings; ++i)
            in.warnings.push_back({o.payload.string(), 0,
                                   unlisted[i] + " is not in the order file and is not packed"});
        if (unlisted.size() > kMaxListedWarnings)
            in.warnings.push_back({o.payload.string(), 0,
                                   std::to_string(unlisted.size() - kMaxListedWarnings) +
                                       " more files are not in the order file"});
    }
    std::optional<BmpInfo> skin;
    if (auto bytes = Read(o.skin, "skin bitmap", in.problems)) {
        BmpCheck check = CheckSkinBitmap(*bytes);
        if (check.info)
            in.skin = *(skin = check.info);
        else
            in.problems.push_back({o.skin.string(), 0, check.problem});
    }
    // Checked against the skin and the payload as read; a part that could not be read has its
    // own problem, and the checks that need it are left out.
    if (in.settings.problems.empty()) {
        std::vector<std::string> targets;
        for (const PayloadEntry& e : in.order.entries) targets.push_back(e.target);
        const bool order_read = order_ok && in.order.problems.empty();
        Append(in.problems,
               CheckSettingValues(in.settings, o.settings, skin, order_read ? &targets : nullptr));
    }
    if (auto text = Read(o.licence, "licence text", in.problems)) {
        Licence licence = ConvertLicence(*text, o.licence.string());
        in.licence_gbk = std::move(licence.gbk);
        Append(in.problems, licence.problems);
    }
    if (!o.installer.empty())
        if (std::string why = CheckStubFile(o.stub); !why.empty())
            in.problems.push_back({o.stub.string(), 0, why});
    return in;
}

// Outputs of an earlier, longer payload (or of the other payload kind) would only confuse
// whoever looks at the folder.
void RemoveStaleOutputs(const fs::path& out, std::size_t framed_entries, std::size_t blocks,
                        StampBook& stamps) {
    std::error_code ec;
    for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec)) {
        if (format::IsStaleOutput(it->path().filename().string(), framed_entries, blocks)) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
            stamps.Forget(it->path());
        }
    }
}

std::uint64_t SizeOr0(const fs::path& file) {
    std::error_code ec;
    std::uint64_t size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

// What a run did, for the summary line.
struct Outcome {
    std::size_t framed = 0, unchanged = 0;
    std::uint64_t bytes_in = 0, bytes_out = 0;
    SolidOutputs solid;  // with --codec zstd or lzma
};

// The payload entries and the skin, each framed from its file into its output.
std::vector<FrameJob> FramedOutputs(const Inputs& in, const Options& o) {
    std::vector<FrameJob> all;
    for (std::size_t i = 0; i < in.order.entries.size() && !o.solid; ++i) {
        const PayloadEntry& e = in.order.entries[i];
        all.push_back({e.source, e.size,
                       o.out / format::OutputFileName(format::PayloadResourceName(static_cast<int>(i)))});
    }
    all.push_back({o.skin, SizeOr0(o.skin), o.out / format::OutputFileName(format::kSkinResourceName)});
    return all;
}

// Frames what changed since the stamps were recorded, on all threads, and records it.
bool FrameChanged(const std::vector<FrameJob>& all, const Options& o, StampBook& stamps,
                  Outcome& outcome, std::ostream& log) {
    std::vector<FrameJob> jobs;
    std::vector<StampBook::FileState> before;
    for (const FrameJob& job : all) {
        outcome.bytes_in += job.size;
        if (stamps.UpToDate(job.source, job.output)) continue;
        auto state = StampBook::StateOf(job.source);
        if (!state || state->size != job.size) {
            log << "setup-pack: error: " << job.source.string() << " changed while it was read\n";
            return false;
        }
        stamps.Forget(job.output);
        jobs.push_back(job);
        before.push_back(*state);
    }
    const unsigned threads = o.jobs ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
    JobsResult result = RunFrameJobs(jobs, threads, o.quiet ? nullptr : &log);
    for (std::size_t i : result.done) stamps.Record(jobs[i].source, before[i], jobs[i].output);
    for (const std::string& e : result.errors) log << "setup-pack: error: " << e << "\n";
    outcome.framed = jobs.size();
    outcome.unchanged = all.size() - jobs.size();
    return result.errors.empty();
}

// The payload as solid blocks, compressed on all threads unless their sources are unchanged.
bool WriteSolid(const Inputs& in, const Options& o, Outcome& outcome, std::ostream& log) {
    const unsigned threads = o.jobs ? o.jobs : std::max(1u, std::thread::hardware_concurrency());
    std::string error;
    if (WriteSolidPayload(in.order.entries, o.codec, o.out, threads, outcome.solid, error)) {
        if (outcome.solid.compressed) outcome.framed += in.order.entries.size();
        for (const PayloadEntry& e : in.order.entries) outcome.bytes_in += e.size;
        return true;
    }
    log << "setup-pack: error: " << error << "\n";
    return false;
}

// The licence and the checksums are small: they are built whole and written when they differ.
// The checksums cover the framed files as they now are on disk.
bool WriteLicenceAndChecksums(const Inputs& in, const Options& o, const std::vector<FrameJob>& all,
                           Outcome& outcome, std::ostream& log) {
    std::string error;
    bool written = false;
    std::vector<fs::path> framed;
    for (const FrameJob& job : all) framed.push_back(job.output);
    framed.push_back(o.out / format::OutputFileName(format::kLicenceResourceName));
    // A solid payload's entries are checked through their blocks, listed after the licence.
    std::vector<setup::format::ChecksumRecord> entries;
    if (o.solid) {
        for (const PayloadEntry& e : in.order.entries)
            entries.push_back({0, 0, static_cast<std::uint32_t>(e.size)});
        framed.insert(framed.end(), outcome.solid.blocks.begin(), outcome.solid.blocks.end());
        framed.push_back(outcome.solid.table);
    }
    std::optional<std::string> sums;
    const bool ok =
        WriteIfChanged(o.out / format::OutputFileName(format::kLicenceResourceName), FrameBytes(in.licence_gbk), written, error) &&
        (sums = BuildChecksums(framed, error, std::move(entries))) &&
        WriteIfChanged(o.out / format::OutputFileName(format::kChecksumResourceName), *sums, written,
                       error);
    if (!ok) log << "setup-pack: error: " << error << "\n";
    return ok;
}

// The finished installer: the stub with everything framed so far as its resources.
bool WriteInstaller(const Inputs& in, const Options& o, const std::vector<FrameJob>& all,
                    const SolidOutputs& solid, std::ostream& log) {
    InstallerParts parts;
    parts.settings = in.settings.lines;
    for (const PayloadEntry& e : in.order.entries) parts.targets.push_back(e.target);
    if (o.solid) {
        parts.solid_blocks = solid.blocks;
        parts.solid_table = solid.table;
    } else {
        for (std::size_t i = 0; i < in.order.entries.size(); ++i)
            parts.payload.push_back(all[i].output);
    }
    parts.skin = o.out / format::OutputFileName(format::kSkinResourceName);
    parts.licence = o.out / format::OutputFileName(format::kLicenceResourceName);
    parts.checksums = o.out / format::OutputFileName(format::kChecksumResourceName);
    parts.version = VersionTextsFromSettings(in.settings.lines, o.installer.filename().string());
    std::string error;
    if (WriteInstallerFile(o.stub, parts, o.installer, error)) return true;
    log << "setup-pack: error: " << error << "\n";
    return false;
}

// The deployment tools' files, describing the installer just written.
bool WriteDeploy(const Options& o, std::ostream& log) {
    std::string error;
    if (WriteDeployFor(o.installer, o.deploy, error)) return true;
    log << "setup-pack: error: " << error << "\n";
    return false;
}

void PrintSummary(const Inputs& in, const Outcome& outcome, double seconds, std::ostream& log) {
    char line[256];
    std::snprintf(line, sizeof line,
                  "setup-pack: %zu files and the skin: %zu compressed, %zu unchanged; "
                  "%.2f MB framed to %.2f MB; %.2f s\n",
                  in.order.entries.size(), outcome.framed, outcome.unchanged,
                  static_cast<double>(outcome.bytes_in) / 1e6,
                  static_cast<double>(outcome.bytes_out) / 1e6,
                  seconds);
    log << line;
}

}  // namespace

int RunPack(const Options& o, std::ostream& log) {
    const auto start = std::chrono::steady_clock::now();
    Inputs in = ReadInputs(o);
    for (const Problem& p : in.warnings) log << "setup-pack: warning: " << Describe(p) << "\n";
    for (const Problem& p : in.problems) log << "setup-pack: error: " << Describe(p) << "\n";
    if (!in.problems.empty()) {
        log << "setup-pack: nothing written\n";
        return 1;
    }
    std::error_code ec;
    fs::create_directories(o.out, ec);
    if (ec) {
        log << "setup-pack: error: cannot create " << o.out.string() << ": " << ec.message()
            << "\n";
        return 1;
    }

    StampBook stamps;
    stamps.Load(o.out / kStampsName);
    const std::vector<FrameJob> all = FramedOutputs(in, o);
    Outcome outcome;
    const bool ok = FrameChanged(all, o, stamps, outcome, log) &&
                    (!o.solid || WriteSolid(in, o, outcome, log)) &&
                    WriteLicenceAndChecksums(in, o, all, outcome, log) &&
                    (o.installer.empty() || WriteInstaller(in, o, all, outcome.solid, log));
    // A solid run that failed may not know its blocks: it keeps them all.
    const std::size_t blocks = o.solid && !ok ? SIZE_MAX : outcome.solid.blocks.size();
    RemoveStaleOutputs(o.out, o.solid ? 0 : in.order.entries.size(), blocks, stamps);
    // Saved also after a failure, so what was framed is not framed again.
    if (std::string error; !stamps.Save(o.out / kStampsName, error))
        log << "setup-pack: warning: " << error << "\n";
    if (!ok || (!o.deploy.empty() && !WriteDeploy(o, log))) return 1;

    if (!o.quiet) {
        outcome.bytes_out = SizeOr0(o.out / format::OutputFileName(format::kLicenceResourceName));
        for (const FrameJob& job : all) outcome.bytes_out += SizeOr0(job.output);
        for (const fs::path& block : outcome.solid.blocks) outcome.bytes_out += SizeOr0(block);
        PrintSummary(
            in, outcome,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), log);
    }
    return 0;
}

}  // namespace pack
