#include "app/core/SchemeFile.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "core/Errors.h"
#include "core/TextCodec.h"

namespace kt {

namespace fs = std::filesystem;

// ---- file system ----

bool PortableSchemeFileSystem::IsFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(fs::path(path), ec);
}

std::vector<std::string> PortableSchemeFileSystem::ListEntries(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code kind;
        if (!it->is_directory(kind)) names.push_back(it->path().filename().string());
    }
    return names;
}

bool PortableSchemeFileSystem::MoveReplacing(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(fs::path(from), fs::path(to), ec);
    return !ec;
}

bool PortableSchemeFileSystem::RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool PortableSchemeFileSystem::Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::path(path), ec);
}

bool PortableSchemeFileSystem::CopyToNew(const std::string& from, const std::string& to) {
    std::error_code ec;
    return fs::copy_file(fs::path(from), fs::path(to), fs::copy_options::none, ec) && !ec;
}

bool PortableSchemeFileSystem::RenameToNew(const std::string& from, const std::string& to) {
    if (Exists(to)) return false;
    std::error_code ec;
    fs::rename(fs::path(from), fs::path(to), ec);
    return !ec;
}

SchemeFileSystem::ReadResult PortableSchemeFileSystem::ReadWhole(const std::string& path, std::string& content) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ReadResult::CannotOpen;
    char buf[16384];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) content.append(buf, got);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    return failed ? ReadResult::CannotRead : ReadResult::Read;
}

bool PortableSchemeFileSystem::SamePath(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
               return lower(x) == lower(y);
           });
}

bool SchemeFileSystem::WriteNew(const std::string& path, std::string_view content) {
    // "x": created here or not at all, so two writers never share a file.
    std::FILE* f = std::fopen(path.c_str(), "wbx");
    if (!f) return false;
    bool ok = std::fwrite(content.data(), 1, content.size(), f) == content.size();
    ok = std::fflush(f) == 0 && ok;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::remove(path.c_str());
    return ok;
}

bool SchemeFileSystem::Stamp(const std::string&, FileStamp&) { return false; }
long long SchemeFileSystem::MillisecondsSinceWrite(const FileStamp&) { return -1; }

long long PortableSchemeFileSystem::MillisecondsSinceWrite(const FileStamp& stamp) {
    const fs::file_time_type written{fs::file_time_type::duration(stamp.writeTime)};
    const auto age = std::chrono::duration_cast<std::chrono::milliseconds>(fs::file_time_type::clock::now() - written);
    return age.count() < 0 ? -1 : static_cast<long long>(age.count());
}

bool PortableSchemeFileSystem::Stamp(const std::string& path, FileStamp& stamp) {
    std::error_code ec;
    const fs::path p(path);
    if (!fs::is_regular_file(p, ec)) return false;
    const auto size = fs::file_size(p, ec);
    if (ec) return false;
    const auto time = fs::last_write_time(p, ec);
    if (ec) return false;
    stamp.size = size;
    stamp.writeTime = static_cast<std::int64_t>(time.time_since_epoch().count());
    return true;
}

namespace {
PortableSchemeFileSystem g_portableFs;
SchemeFileSystem* g_fs = nullptr;
}  // namespace

SchemeFileSystem& SchemeFiles() { return g_fs ? *g_fs : g_portableFs; }
void SetSchemeFileSystem(SchemeFileSystem* fs) { g_fs = fs; }

// ---- reading ----

namespace {

// Calls f(line number from 1, the line as read, its length in the file) for each line.
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

template <class F>
void ForEachSchemeLine(std::string_view content, F&& f) {
    content = content.substr(0, content.find('\0'));
    // Left in, the mark would hide the first line's tag and shift every caption after it
    // onto the next button's text.
    if (content.substr(0, kUtf8Bom.size()) == kUtf8Bom) content.remove_prefix(kUtf8Bom.size());
    std::size_t start = 0, number = 0;
    while (start < content.size()) {
        std::size_t end = content.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = content.size();
        f(++number, content.substr(start, std::min(end - start, kSchemeLineLimit)), end - start);
        if (end + 1 < content.size() && content[end] == '\r' && content[end + 1] == '\n')
            start = end + 2;
        else
            start = end + 1;
    }
}

}  // namespace

std::vector<std::string_view> SplitSchemeLines(std::string_view content) {
    std::vector<std::string_view> lines;
    ForEachSchemeLine(content, [&](std::size_t, std::string_view line, std::size_t) { lines.push_back(line); });
    return lines;
}

namespace {

// A decimal integer: optional sign, then digits only, within 32 bits.
bool ParseDecimal(std::string_view s, int& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    if (i == s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        v = v * 10 + (s[i] - '0');
        if (v > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) v = -v;
    if (v > INT_MAX || v < INT_MIN) return false;
    value = static_cast<int>(v);
    return true;
}

// After the three characters of the tag (whole characters: a tag byte of the code page may have
// become several bytes of UTF-8).
std::string Payload(std::string_view line) {
    if (line.size() >= 3 && IsAscii(line.substr(0, 3))) return std::string(line.substr(3));
    std::size_t at = 0;
    for (int k = 0; k < 3 && at < line.size(); ++k) NextCodePoint(line, at);
    return std::string(line.substr(at));
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// The words for what a reader left out of `content`; lines after `stoppedAt` (0: none) too.
std::string DescribeCut(std::string_view content, std::size_t firstLong, std::size_t longLines,
                        std::size_t stoppedAt, std::size_t badLine, const DecodedText& decoded) {
    std::vector<std::string> parts;
    if (badLine > 0) {
        const char* encoding = decoded.encoding == TextEncoding::Utf16Le || decoded.encoding == TextEncoding::Utf16Be
                                   ? "UTF-16" : "UTF-8";
        parts.push_back("line " + std::to_string(badLine) +
                        " holds bytes that are not valid " + encoding + " (shown as \xEF\xBF\xBD)");
    }
    const std::size_t zero = content.find('\0');
    if (zero != std::string_view::npos) {
        const std::size_t line = 1 + static_cast<std::size_t>(std::count(content.begin(), content.begin() + zero, '\n'));
        parts.push_back("text after a zero byte in line " + std::to_string(line) + " not read (" +
                        Plural(content.size() - zero, "byte", "bytes") + ")");
    }
    if (longLines > 0) {
        std::string part = "line " + std::to_string(firstLong) + " cut to " + std::to_string(kSchemeLineLimit) +
                           " characters";
        if (longLines > 1) part += " (and " + Plural(longLines - 1, "more line", "more lines") + ")";
        parts.push_back(part);
    }
    if (stoppedAt > 0) parts.push_back("reading stopped at the bad line " + std::to_string(stoppedAt));
    std::string text;
    for (const std::string& p : parts) text += (text.empty() ? "" : "; ") + p;
    return text;
}

}  // namespace

void ReadSchemeText(std::string_view bytes, ButtonScheme& scheme, const CaptionRead& onCaption,
                    const std::string& source) {
    scheme.captions.clear();
    scheme.texts.clear();
    scheme.keys.clear();
    scheme.cutTexts.clear();
    // Decoded once, before the lines: a UTF-16 line break is two bytes, and a byte of a
    // multi-byte character is never a tag.
    DecodedText decoded;
    const std::string_view content = DecodeTextInPlace(bytes, decoded);
    // Where the first bad byte stands, from the start of the lines (a mark is not part of them).
    const std::size_t bad = decoded.bad;
    std::size_t firstLong = 0, longLines = 0, badLine = 0;
    ForEachSchemeLine(content, [&](std::size_t number, std::string_view line, std::size_t length) {
        const bool cutLine = length > kSchemeLineLimit;
        if (cutLine && longLines++ == 0) firstLong = number;
        const std::size_t at = static_cast<std::size_t>(line.data() - content.data());
        const bool badHere = bad != std::string::npos && bad >= at && bad <= at + length;
        if (badHere && badLine == 0) badLine = number;
        if (line.empty()) return;
        switch (line[0]) {
            case 'T':
                // A text with a byte that was not valid is not the text the file meant.
                if (cutLine || badHere) scheme.cutTexts.push_back(scheme.texts.size());
                scheme.texts.push_back(Payload(line));
                scheme.keys.push_back(line.substr(0, 3) == "T02");
                break;
            case 'C':
                scheme.captions.push_back(Payload(line));
                if (onCaption) onCaption(scheme.captions.size() - 1);
                break;
            case 'D': {
                std::string payload = Payload(line);
                int value = 0;
                if (!ParseDecimal(payload, value)) {
                    scheme.cut = DescribeCut(content, firstLong, longLines, number, badLine, decoded);
                    const std::string where = (source.empty() ? std::string() : "scheme file " + source + ", ") +
                                              "line " + std::to_string(number);
                    throw EConvertError(FormatMessage1("'%s' is not a valid integer value", payload) + " (" + where +
                                        ")");
                }
                scheme.eol = value < kEolNone ? kEolNone : value > kEolTab ? kEolTab : value;
                break;
            }
            default:
                break;
        }
    });
    scheme.cut = DescribeCut(content, firstLong, longLines, 0, badLine, decoded);
}

bool LoadSchemeFile(const std::string& path, ButtonScheme& scheme, const CaptionRead& onCaption) {
    scheme.captions.clear();
    scheme.texts.clear();
    scheme.keys.clear();
    scheme.cutTexts.clear();
    scheme.cut.clear();
    if (!SchemeFiles().IsFile(path)) return false;
    std::string content;
    switch (SchemeFiles().ReadWhole(path, content)) {
    case SchemeFileSystem::ReadResult::Read: break;
    case SchemeFileSystem::ReadResult::CannotOpen: throw EInOutError(FormatMessage1("Cannot open file %s", path));
    case SchemeFileSystem::ReadResult::CannotRead: throw EInOutError(FormatMessage1("Cannot read file %s", path));
    }
    ReadSchemeText(content, scheme, onCaption, path);
    return true;
}

// ---- writing ----

bool IsKeysText(const ButtonScheme& scheme, std::size_t i) {
    return i < scheme.keys.size() && i < scheme.texts.size() && scheme.keys[i];
}


namespace {

// Payloads come from single-line fields; a line break or zero byte inside one would split
// or end the file on the next read and shift every following record, so it ends the payload.
void AppendLine(std::string& out, const char* tag, std::string_view payload) {
    out += tag;
    out += payload.substr(0, payload.find_first_of(std::string_view("\r\n\0", 3)));
    out += "\r\n";
}

std::string Format(const ButtonScheme& scheme, bool captionFirst) {
    std::string out;
    for (std::size_t i = 0; i < scheme.captions.size(); ++i) {
        std::string_view text = i < scheme.texts.size() ? std::string_view(scheme.texts[i]) : "";
        const char* textTag = IsKeysText(scheme, i) ? "T02" : "T01";
        if (captionFirst) {
            AppendLine(out, "C01", scheme.captions[i]);
            AppendLine(out, textTag, text);
        } else {
            AppendLine(out, textTag, text);
            AppendLine(out, "C01", scheme.captions[i]);
        }
    }
    AppendLine(out, "D01", std::to_string(scheme.eol));
    return out;
}

}  // namespace

// The file's bytes for the text: in the system's code page, as always, when every character
// fits it; otherwise UTF-8 behind a mark. The mark stands on a line of its own, so a reader that
// knows no mark takes it for a line of no kind and still reads every record. Bytes in the code
// page that would read as UTF-8 go as UTF-8 too, so that they read back as written.
static std::string EncodeScheme(const std::string& text) {
    if (IsAscii(text)) return text;
    std::string bytes;
    if (SystemCodePage().FromUtf8(text, bytes) && DecodeText(bytes).encoding == TextEncoding::CodePage) return bytes;
    return "\xEF\xBB\xBF\r\n" + text;
}

std::string FormatSchemeForSave(const ButtonScheme& scheme) { return EncodeScheme(Format(scheme, true)); }
std::string FormatSchemeImplicit(const ButtonScheme& scheme) { return EncodeScheme(Format(scheme, false)); }

namespace {

// A temporary name beside `path` that no other writer, in this process or another, picks at
// the same time: a fixed one would let two saves write into one file. Short and apart from
// the scheme's name, so that any scheme path that can be written has room for it.
std::string TemporaryNameFor(const std::string& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    static const unsigned process = [] {
        std::random_device seed;
        return static_cast<unsigned>(seed());
    }();
    char name[32];
    std::snprintf(name, sizeof name, "~kt%08x%04x.tmp", process, (counter.fetch_add(1) + attempt) & 0xFFFFu);
    const std::size_t slash = path.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

enum class Placed { Yes, Taken, Failed };

// Writes a temporary file of our own and moves it to `path`, replacing what is there or not.
Placed PlaceSchemeFile(const std::string& path, std::string_view content, bool replace) {
    SchemeFileSystem& fs = SchemeFiles();
    std::string temp;
    for (unsigned attempt = 0;; ++attempt) {
        temp = TemporaryNameFor(path, attempt);
        if (fs.WriteNew(temp, content)) break;
        if (attempt >= 8 || !fs.Exists(temp)) return Placed::Failed;  // a name taken: try another
    }
    if (replace ? fs.MoveReplacing(temp, path) : fs.RenameToNew(temp, path)) return Placed::Yes;
    fs.RemoveFile(temp);
    return !replace && fs.Exists(path) ? Placed::Taken : Placed::Failed;
}

}  // namespace

void WriteSchemeFile(const std::string& path, std::string_view content) {
    if (PlaceSchemeFile(path, content, true) != Placed::Yes)
        throw EInOutError(FormatMessage1("Cannot create file %s", path));
}

bool WriteNewSchemeFile(const std::string& path, std::string_view content) {
    switch (PlaceSchemeFile(path, content, false)) {
    case Placed::Yes: return true;
    case Placed::Taken: return false;
    case Placed::Failed: break;
    }
    throw EInOutError(FormatMessage1("Cannot create file %s", path));
}

void SaveSchemeFile(const std::string& path, const ButtonScheme& scheme) {
    WriteSchemeFile(path, FormatSchemeForSave(scheme));
}

void SaveSchemeFileImplicit(const std::string& path, const ButtonScheme& scheme) {
    WriteSchemeFile(path, FormatSchemeImplicit(scheme));
}

// ---- scheme folder ----

std::vector<std::string> SchemeNamesFromEntries(const std::vector<std::string>& entries) {
    static constexpr std::string_view kExt = ".dat";
    std::vector<std::string> names;
    for (const std::string& e : entries) {
        if (e == "." || e == "..") continue;
        if (e.size() >= kExt.size() && e.compare(e.size() - kExt.size(), kExt.size(), kExt) == 0)
            names.push_back(e.substr(0, e.size() - kExt.size()));
    }
    return names;
}

std::vector<std::string> ListSchemeNames(const std::string& folder) {
    return SchemeNamesFromEntries(SchemeFiles().ListEntries(folder));
}

std::string SchemeDisplayName(const std::string& fileName) {
    std::size_t sep = fileName.find_last_of("\\/:");
    std::string name = sep == std::string::npos ? fileName : fileName.substr(sep + 1);
    return name.size() > 4 ? name.substr(0, name.size() - 4) : std::string();
}

}  // namespace kt
