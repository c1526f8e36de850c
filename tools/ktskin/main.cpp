// ktskin: packs a folder of bitmaps and one ".ini" description into a skin container, and
// takes containers apart again. Plain C++ with std::filesystem so it builds for Linux and
// Windows alike.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/Errors.h"
#include "core/MessageService.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinUsability.h"
#include "skin/data/SkinWriter.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kUsage = R"(usage: ktskin COMMAND ARGS

  pack FOLDER OUT.skn   pack the folder's ".bmp" files and its one ".ini" description
  unpack IN.skn FOLDER  write each entry of the skin as a file into FOLDER
  list IN.skn           entry sizes and names, in container order
  expand IN.skn OUT     write the expanded container bytes (exactly its declared size)
  check IN.skn [WxH [DPI]]
                        open the skin as the program does and report what is wrong; "cannot
                        be used" is the program's own verdict for a screen whose work area
                        is W x H pixels (default 1024x768) at DPI pixels per inch (default 96),
                        the skin scaled to it
  --help                this text

pack is deterministic: the description comes first, then the bitmaps sorted by
file name (bytewise, in lower case), each stored under its file name. Other files
in FOLDER are ignored with a note; sub-folders are not read.
The exit status is 0 on success, 1 for bad input, 2 for a wrong command line.
)";

struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) { throw Failure{message}; }

std::string Lower(std::string s) { return kt::SkinLowerCase(s); }

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// A skin file is at most a little larger than what it expands to.
constexpr uintmax_t kMaxInputFile = 2 * static_cast<uintmax_t>(kt::kSkinMaxExpandedSize);

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) Fail("cannot read " + path.string() + ": not a file");
    const uintmax_t size = fs::file_size(path, ec);
    if (ec) Fail("cannot read " + path.string() + ": " + ec.message());
    if (size > kMaxInputFile) Fail(path.string() + " is too large for a skin file");
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        Fail("cannot read " + path.string());
    return bytes;
}

// Through a temporary file and a rename, so a failed write leaves no half file behind.
void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes, size_t count) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(count)) ||
            !out.flush()) {
            std::error_code ignored;
            fs::remove(temp, ignored);
            Fail("cannot write " + path.string());
        }
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    if (ec) {
        fs::remove(temp, ec);
        Fail("cannot write " + path.string() + ": " + ec.message());
    }
}

kt::TSkinReader OpenSkin(const fs::path& path) {
    const auto bytes = ReadFile(path);
    kt::ScopedScriptedMessages messages;  // the reader's message box becomes our error line
    kt::TSkinReader reader;
    const bool ok = reader.Open(bytes);
    if (!ok) Fail(path.string() + ": not a skin this program can open (" + reader.LastError() + ")");
    return reader;
}

int Pack(const fs::path& folder, const fs::path& out) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) Fail(folder.string() + " is not a folder");
    std::vector<fs::path> inis, bitmaps;
    for (const auto& item : fs::directory_iterator(folder, ec)) {
        if (!item.is_regular_file()) continue;
        const std::string name = item.path().filename().string();
        if (EndsWith(Lower(name), ".ini")) inis.push_back(item.path());
        else if (EndsWith(Lower(name), ".bmp")) bitmaps.push_back(item.path());
        else std::cerr << "ktskin: note: ignoring " << name << "\n";
    }
    if (ec) Fail("cannot list " + folder.string() + ": " + ec.message());
    if (inis.size() != 1)
        Fail(folder.string() + " holds " + std::to_string(inis.size()) +
             " \".ini\" descriptions; a skin has exactly one");
    auto byName = [](const fs::path& a, const fs::path& b) {
        const std::string la = Lower(a.filename().string()), lb = Lower(b.filename().string());
        return la != lb ? la < lb : a.filename().string() < b.filename().string();
    };
    std::sort(bitmaps.begin(), bitmaps.end(), byName);

    std::vector<kt::SkinEntry> entries;
    std::set<std::string> seen;
    std::vector<fs::path> files = inis;
    files.insert(files.end(), bitmaps.begin(), bitmaps.end());
    for (const fs::path& file : files) {
        kt::SkinEntry e{file.filename().string(), ReadFile(file)};
        if (!seen.insert(Lower(e.name)).second)
            Fail(e.name + " differs from another entry only in letter case");
        if (EndsWith(Lower(e.name), ".bmp") && (e.data.size() < 2 || e.data[0] != 'B' || e.data[1] != 'M'))
            Fail(file.string() + " is not a bitmap (it does not start with \"BM\")");
        entries.push_back(std::move(e));
    }
    std::vector<uint8_t> packed;
    try {
        packed = kt::PackSkin(entries);
    } catch (const kt::Exception& e) {
        Fail(e.Message());
    }
    WriteFile(out, packed, packed.size());
    std::cout << "packed " << entries.size() << " entries into " << out.string() << " ("
              << packed.size() << " bytes)\n";
    return 0;
}

// Entry names come from the file: only plain file names become paths.
bool SafeFileName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 255) return false;
    for (unsigned char c : name)
        if (c < 0x20 || c == '/' || c == '\\' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            return false;
    return name.back() != '.' && name.back() != ' ';
}

int Unpack(const fs::path& in, const fs::path& folder) {
    const kt::TSkinReader reader = OpenSkin(in);
    for (const std::string& name : reader.Names())
        if (!SafeFileName(name)) Fail(in.string() + ": entry name \"" + name + "\" is not a plain file name");
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) Fail("cannot create " + folder.string() + ": " + ec.message());
    std::set<std::string> written;
    std::vector<uint8_t> data;
    for (const std::string& name : reader.Names()) {
        if (!written.insert(name).second) {
            std::cerr << "ktskin: note: " << name << " is listed again; the program reads only the first\n";
            continue;
        }
        reader.ExtractByName(name, data);
        WriteFile(folder / name, data, data.size());
    }
    std::cout << "unpacked " << written.size() << " entries into " << folder.string() << "\n";
    return 0;
}

int List(const fs::path& in) {
    const kt::TSkinReader reader = OpenSkin(in);
    int64_t total = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        std::cout << reader.Size(i) << "\t" << reader.Names()[static_cast<size_t>(i)] << "\n";
        total += reader.Size(i);
    }
    std::cout << reader.Count() << " entries, " << total << " bytes\n";
    return 0;
}

int Expand(const fs::path& in, const fs::path& out) {
    const auto bytes = ReadFile(in);
    if (bytes.size() < 4) Fail(in.string() + ": too short for a skin container");
    const int32_t declared = static_cast<int32_t>(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                                                  static_cast<uint32_t>(bytes[3]) << 24);
    if (declared < 0) Fail(in.string() + ": negative expanded size " + std::to_string(declared));
    std::vector<uint8_t> expanded;
    std::string error;
    if (!kt::ExpandSkinContainer(bytes, expanded, &error)) Fail(in.string() + ": " + error);
    WriteFile(out, expanded, static_cast<size_t>(declared));
    std::cout << "expanded " << declared << " bytes into " << out.string() << "\n";
    return 0;
}

// Reports what would stop or surprise the program, and whether the program would use the skin
// at all (its own verdict, from the same function).
int Check(const fs::path& in, int workWidth, int workHeight, int pixelsPerInch) {
    const kt::TSkinReader reader = OpenSkin(in);
    std::vector<std::string> problems;
    std::map<std::string, int> count;
    int64_t total = 0;
    int descriptions = 0;
    std::vector<uint8_t> data;
    for (int i = 0; i < reader.Count(); ++i) {
        const std::string& name = reader.Names()[static_cast<size_t>(i)];
        total += reader.Size(i);
        if (++count[name] == 2) problems.push_back(name + " is listed more than once; only the first is read");
        if (count[name] == 1 && !SafeFileName(name))
            problems.push_back("\"" + name + "\" is not a plain file name; ktskin unpack refuses it");
        if (name.find(".ini") != std::string::npos) ++descriptions;
        if (count[name] > 1) continue;
        reader.ExtractByName(name, data);
        if (data.empty()) problems.push_back(name + " is empty; the program treats it as missing");
        else if (EndsWith(name, ".bmp") && (data.size() < 54 || data[0] != 'B' || data[1] != 'M'))
            problems.push_back(name + " is not a bitmap");
    }
    std::string found;
    if (descriptions == 0) problems.push_back("no \".ini\" description");
    else if (descriptions > 1) {
        reader.ExtractByPart(".ini", data, found);
        problems.push_back(std::to_string(descriptions) + " names contain \".ini\"; the program reads " + found);
    }
    {
        kt::ScopedScriptedMessages messages;
        const std::string verdict = kt::SkinContainerProblem(ReadFile(in), workWidth, workHeight, pixelsPerInch);
        if (!verdict.empty()) problems.insert(problems.begin(), "cannot be used: " + verdict);
    }
    if (static_cast<int64_t>(reader.Data().size()) > total + 59)
        problems.push_back(std::to_string(reader.Data().size() - static_cast<size_t>(total)) +
                           " bytes after the last entry are never read");
    for (const auto& p : problems) std::cout << in.string() << ": " << p << "\n";
    std::cout << in.string() << ": " << reader.Count() << " entries, " << total << " bytes, "
              << (problems.empty() ? "ok" : std::to_string(problems.size()) + " problem(s)") << "\n";
    return problems.empty() ? 0 : 1;
}

int Run(const std::vector<std::string>& args) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::cout << kUsage;
        return args.empty() ? 2 : 0;
    }
    const std::string& cmd = args[0];
    auto need = [&](size_t n) {
        if (args.size() != n + 1) {
            std::cerr << "ktskin: " << cmd << " takes " << n << " argument" << (n > 1 ? "s" : "")
                      << "; see ktskin --help\n";
            return false;
        }
        return true;
    };
    if (cmd == "pack") return need(2) ? Pack(args[1], args[2]) : 2;
    if (cmd == "unpack") return need(2) ? Unpack(args[1], args[2]) : 2;
    if (cmd == "list") return need(1) ? List(args[1]) : 2;
    if (cmd == "expand") return need(2) ? Expand(args[1], args[2]) : 2;
    if (cmd == "check") {
        int w = kt::kCheckWorkAreaWidth, h = kt::kCheckWorkAreaHeight, dpi = 96;
        if (args.size() == 3 || args.size() == 4) {
            char x = 0;
            std::istringstream size(args[2]);
            if (!(size >> w >> x >> h) || x != 'x' || w <= 0 || h <= 0) {
                std::cerr << "ktskin: check: the work area is WIDTHxHEIGHT, as 1280x1024\n";
                return 2;
            }
            if (args.size() == 4 && (!(std::istringstream(args[3]) >> dpi) || dpi < 48 || dpi > 960)) {
                std::cerr << "ktskin: check: the resolution is pixels per inch, 48 to 960, as 144\n";
                return 2;
            }
        } else if (!need(1)) {
            return 2;
        }
        return Check(args[1], w, h, dpi);
    }
    std::cerr << "ktskin: unknown command " << cmd << "; see ktskin --help\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const Failure& f) {
        std::cerr << "ktskin: error: " << f.message << "\n";
    } catch (const std::exception& e) {
        std::cerr << "ktskin: error: " << e.what() << "\n";
    }
    return 1;
}
