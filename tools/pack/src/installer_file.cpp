#include "installer_file.h"

#include <algorithm>
#include <system_error>

#include "format/resource_ids.h"
#include "format/solid_table.h"
#include "format/target_path.h"
#include "pe/pe_writer.h"
#include "pe/resource_set.h"
#include "pe/string_table.h"
#include "text_file.h"

namespace fs = std::filesystem;
namespace format = setup::format;

namespace pack {

namespace {

constexpr char kStubName[] = "TessikSetupStub.exe";

bool AddFile(pe::ResourceSet& set, std::string_view type, std::string_view name,
             const fs::path& file, std::string& error) {
    std::error_code ec;
    const std::uint64_t size = fs::file_size(file, ec);
    if (ec) {
        error = "cannot read " + file.string() + ": " + ec.message();
        return false;
    }
    if (!pe::AddNamed(set, type, name, format::kStringTableLanguage, pe::FileData{file, size})) {
        error = "cannot name the resource " + std::string(type) + "/" + std::string(name);
        return false;
    }
    return true;
}

// The strings of ids 1001 on and 2000 on, "\" written as "*" in the table.
std::map<unsigned, std::string> StringTable(const InstallerParts& parts) {
    std::map<unsigned, std::string> table;
    for (std::size_t i = 0; i < parts.settings.size(); ++i)
        table[format::kFirstSettingId + static_cast<unsigned>(i)] = parts.settings[i];
    for (std::size_t i = 0; i < parts.targets.size(); ++i) {
        std::string line = parts.targets[i];
        std::replace(line.begin(), line.end(), format::kPathSeparator, format::kFileListSeparator);
        table[format::kFirstFileListId + static_cast<unsigned>(i)] = line;
    }
    return table;
}

}  // namespace

std::string CheckStubFile(const fs::path& stub) {
    std::optional<std::string> bytes = ReadWholeFile(stub);
    if (!bytes) return "cannot read the stub " + stub.string();
    std::string problem = pe::CheckStub(*bytes);
    return problem.empty() ? "" : stub.string() + ": " + problem;
}

bool WriteInstallerFile(const fs::path& stub, const InstallerParts& parts,
                        const fs::path& installer, std::string& error) {
    std::optional<std::string> stub_bytes = ReadWholeFile(stub);
    if (!stub_bytes) {
        error = "cannot read the stub " + stub.string();
        return false;
    }
    pe::ResourceSet set;
    if (std::string why = pe::AddStrings(set, StringTable(parts), format::kStringTableLanguage);
        !why.empty()) {
        error = "string table: " + why;
        return false;
    }
    for (std::size_t i = 0; i < parts.payload.size(); ++i) {
        const int index = static_cast<int>(i);
        if (!AddFile(set, format::PayloadResourceType(index), format::PayloadResourceName(index),
                     parts.payload[i], error))
            return false;
    }
    for (std::size_t k = 0; k < parts.solid_blocks.size(); ++k)
        if (!AddFile(set, format::kSolidBlockResourceType, format::SolidBlockResourceName(k),
                     parts.solid_blocks[k], error))
            return false;
    if (!parts.solid_table.empty() &&
        !AddFile(set, format::kSolidTableResourceType, format::kSolidTableResourceName,
                 parts.solid_table, error))
        return false;
    const bool added =
        AddFile(set, format::kSkinResourceType, format::kSkinResourceName, parts.skin, error) &&
        AddFile(set, format::kLicenceResourceType, format::kLicenceResourceName, parts.licence,
                error) &&
        AddFile(set, format::kChecksumResourceType, format::kChecksumResourceName,
                parts.checksums, error);
    if (!added) return false;
    std::optional<std::string> version = VersionResource(parts.version);
    if (!version) {
        error = "the version texts are not valid UTF-8";
        return false;
    }
    set[{pe::ResId::Number(pe::kRtVersion), pe::ResId::Number(1), format::kStringTableLanguage}] =
        {std::move(*version), 0};
    if (!pe::WriteExecutableFile(*stub_bytes, set, installer, error)) {
        error = installer.string() + ": " + error;
        return false;
    }
    return true;
}

fs::path DefaultStub(const char* argv0) {
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (ec) self = fs::absolute(argv0 ? argv0 : "", ec);
    return self.parent_path() / kStubName;
}

}  // namespace pack
