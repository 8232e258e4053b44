#include "options.h"

#include <cstdlib>
#include <string_view>

namespace pack {

const char* HelpText() {
    return R"(usage: setup-pack --settings FILE --payload DIR --order FILE --skin FILE
                  --licence FILE --out DIR [--installer FILE [--stub FILE]]
                  [--jobs N] [--codec zlib|zstd|lzma] [--quiet]
       setup-pack --list INSTALLER
       setup-pack --init DIR --payload DIR --skin FILE
       setup-pack --deploy DIR --installer INSTALLER

Builds the installer: with --installer, the finished executable, written into the prebuilt
installer program (the stub) without a compiler, resource compiler or linker; and always the
framed files in --out (each a 4-byte little-endian length, then one zlib stream at level 9),
the checksums and a resource script that names them.

  --settings FILE  the 23 settings lines "key=value" (UTF-8), in the order of string ids
                   1001 to 1023, each key in its place (--init writes a template); blank
                   lines and lines starting with "#" are ignored
  --payload DIR    the folder holding the files to install
  --order FILE     one target path per line (UTF-8), in the installer's order, with "\"
                   between folders (data\log\a.log); each names the file at the same path
                   inside DIR. They become string ids 2000 on, at most 8000 of them
  --skin FILE      the skin atlas: a 24-bit uncompressed bottom-up Windows bitmap
  --licence FILE   the licence text (UTF-8, LF or CR LF); stored as GBK with CR LF line ends,
                   ending with a line end, without a terminating NUL (--license works too)
  --out DIR        where to write (created if missing):
                     MyFile0000.bin   one framed file per payload entry, and so on
                     MainBmp.bin      the framed skin
                     MainRect.bin     the framed licence
                     MainSum.bin      the checksums and sizes of all of them
                     pack.stamps      what each output was made from
  --installer FILE the finished installer: the stub with the settings and the file list in
                   its string table (language 2052) and the framed files as resources; the
                   stub's own manifest, version and icon stay
  --stub FILE      the installer program without payload (default: TessikSetupStub.exe
                   beside setup-pack, where the build puts it)
  --deploy DIR     with --installer: write the deployment tools' files into DIR, after
                   the build or on their own (setup-pack --deploy DIR --installer FILE, for
                   a signed installer: signing changes its hash):
                     winget-installer.yaml  winget installer manifest fragment (switches,
                                            exit codes, uninstall entry, InstallerSha256)
                     detection-rule.json    Intune / ConfigMgr detection rule: the uninstall
                                            entry's DisplayVersion, compared as a version
                     switches.txt           the switches and exit codes in plain text
  --init DIR       start a new product in DIR (created; existing files are not replaced):
                     settings.txt    the 23 settings, each with a comment saying what it is
                     payload.order   every file of --payload, subfolders included, the
                                     programs (.exe) of the top folder first
                     skin.bmp        a copy of --skin, and skin-pieces.txt, its pieces
  --list FILE      print the settings, the file list (with framed and unpacked sizes) and the
                   other resources of an installer, and nothing else
  --jobs N         compress on N threads (default: one per hardware thread)
  --codec C        zlib (default): one framed file per payload entry; zstd: the entries in
                   order as a few solid blocks of about 16 MB (MyBlock0000.bin, ...), each one
                   zstd stream (level 19, 8 MB window), and their table MainBlk.bin;
                   lzma: the same blocks as LZMA streams (8 MB dictionary), two blocks for up
                   to 128 MB: the smallest installer, decoded two blocks at a time
  --quiet          no progress or summary lines
  --help           show this text

Every text must have a GBK (code page 936) form and a string-table line may hold at most 511
bytes in GBK. Target paths may not hold a drive, a leading "\", "..", "." or empty components,
"/", characters Windows forbids in file names or device names (CON, NUL, COM1, LPT1, ...). As on
Windows, letter case does not tell targets apart: no two may be the same file and no file may
have the name of another target's folder. Every payload file must be readable and lie inside DIR,
also after links are followed. Bad input is reported with its file and line, and nothing is
written; the exit code is 1 (2 for a bad command line).

A second run re-compresses only the entries whose source changed (by size and time) or whose
output was touched; outputs an earlier run left for more entries or blocks are removed.
)";
}

bool ParseOptions(int argc, const char* const* argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::filesystem::path* target = nullptr;
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        if (arg == "--quiet") {
            options.quiet = true;
            continue;
        }
        if (arg == "--settings") target = &options.settings;
        if (arg == "--payload") target = &options.payload;
        if (arg == "--order") target = &options.order;
        if (arg == "--skin") target = &options.skin;
        if (arg == "--licence" || arg == "--license") target = &options.licence;
        if (arg == "--out") target = &options.out;
        if (arg == "--stub") target = &options.stub;
        if (arg == "--installer") target = &options.installer;
        if (arg == "--list") target = &options.list;
        if (arg == "--deploy") target = &options.deploy;
        if (arg == "--init") target = &options.init;
        const bool takes_value = target || arg == "--jobs" || arg == "--codec";
        if (!takes_value) {
            error = "unknown argument \"" + std::string(arg) + "\"";
            return false;
        }
        if (i + 1 >= argc) {
            error = std::string(arg) + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (target) {
            *target = value;
            continue;
        }
        if (arg == "--codec") {
            const auto codec = setup::format::SolidCodecNamed(value);
            if (value != "zlib" && !codec) {
                error = "--codec needs zlib, zstd or lzma, not \"" + value + "\"";
                return false;
            }
            options.solid = codec.has_value();
            if (codec) options.codec = *codec;
            continue;
        }
        char* end = nullptr;
        long jobs = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || jobs < 1 || jobs > 256) {
            error = "--jobs needs a number from 1 to 256, not \"" + value + "\"";
            return false;
        }
        options.jobs = static_cast<unsigned>(jobs);
    }
    if (options.help || !options.list.empty()) return true;
    if (!options.init.empty()) {
        if (options.payload.empty() || options.skin.empty()) {
            error = "--init needs --payload and --skin";
            return false;
        }
        return true;
    }
    if (!options.deploy.empty()) {
        if (options.installer.empty()) {
            error = "--deploy needs --installer: its files describe the finished installer";
            return false;
        }
        if (options.settings.empty()) return true;  // an installer already written
    }
    const std::pair<const char*, const std::filesystem::path*> required[] = {
        {"--settings", &options.settings}, {"--payload", &options.payload},
        {"--order", &options.order},       {"--skin", &options.skin},
        {"--licence", &options.licence},   {"--out", &options.out}};
    for (const auto& [name, path] : required) {
        if (path->empty()) {
            error = std::string(name) + " is required";
            return false;
        }
    }
    return true;
}

}  // namespace pack
