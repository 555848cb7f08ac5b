#include "engine/data_reader.h"

#include <fast_float/fast_float.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <limits>
#include <string_view>

#include "engine/series.h"

namespace tamvel::engine {
namespace {

constexpr std::size_t kChunkSize = 256 << 10;
constexpr std::size_t kMaxLineLength = 1 << 20;

// An open file descriptor, closed on scope exit.
class FileHandle {
  public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (m_fd >= 0) ::close(m_fd);
    }
    int Get() const { return m_fd; }

  private:
    int m_fd;
};

// Reads up to `size` bytes, retrying after signals; -1 on error.
ssize_t ReadSome(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR) return got;
    }
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

bool IsMissingMark(std::string_view field) {
    return field.empty() || field == "." || field == "NA" || field == "na" || field == "NaN";
}

// Parses a number at the start of [first, last); the end of what was parsed, or null.
template <class T>
const char* ParseNumberAt(const char* first, const char* last, T& value) {
    if (first < last && *first == '+') ++first;
    if constexpr (std::is_same_v<T, double>) {
        const auto result = fast_float::from_chars(first, last, value);
        return result.ec == std::errc() ? result.ptr : nullptr;
    } else {
        const auto result = std::from_chars(first, last, value);
        return result.ec == std::errc() ? result.ptr : nullptr;
    }
}

// A number field: true and the value, or false when the field is no number.
template <class T>
bool ParseField(std::string_view field, T& value) {
    if (IsMissingMark(field)) {
        value = std::numeric_limits<T>::quiet_NaN();
        return true;
    }
    const char* last = field.data() + field.size();
    return ParseNumberAt(field.data(), last, value) == last;
}

// One CSV line into the columns: each field parsed where it stands (the common case of a
// plain number), or trimmed and unquoted first. Gives the number of fields, or sets `bad`
// to the first field that is no number.
template <class T>
std::size_t ParseCsvLine(std::string_view line, std::vector<std::vector<T>>& out,
                         std::size_t columns, std::string_view& bad) {
    const char* p = line.data();
    const char* const end = p + line.size();
    std::size_t fields = 0;
    for (;;) {
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        const char* const start = p;
        T value = std::numeric_limits<T>::quiet_NaN();
        const char* parsed = p < end && *p != ',' ? ParseNumberAt(p, end, value) : nullptr;
        if (parsed) {
            while (parsed < end && IsBlank(*parsed)) ++parsed;
            if (parsed != end && *parsed != ',') parsed = nullptr;
        }
        if (parsed) {
            p = parsed;
        } else {
            const char* comma = static_cast<const char*>(
                std::memchr(start, ',', static_cast<std::size_t>(end - start)));
            p = comma ? comma : end;
            const std::string_view field =
                Trim(std::string_view(start, static_cast<std::size_t>(p - start)));
            if (!ParseField(field, value)) {
                bad = field;
                return fields;
            }
        }
        if (fields < columns) out[fields].push_back(value);
        ++fields;
        if (p == end) return fields;
        ++p;  // the comma
    }
}

bool LooksNumeric(std::string_view field) {
    long double ignored = 0;
    return ParseField(field, ignored);
}

// The file's bytes, a chunk at a time, read into one buffer small enough to stay in the
// processor's cache while it is parsed (a mapping would make the whole file resident).
class ChunkReader {
  public:
    explicit ChunkReader(int fd) : m_fd(fd), m_buffer(kChunkSize) {}

    /// The next chunk; empty at the end. Sets `failed` on a read error.
    std::string_view Next(bool& failed) {
        const ssize_t got = ReadSome(m_fd, m_buffer.data(), m_buffer.size());
        if (got < 0) {
            failed = true;
            return {};
        }
        return {m_buffer.data(), static_cast<std::size_t>(got)};
    }

  private:
    int m_fd;
    std::vector<char> m_buffer;
};

// Calls `line` for every line of the file (without its '\n'), a chunk at a time; stops
// early when `line` returns false. Gives an error text, or empty.
template <class LineFunction>
std::string ForEachLine(int fd, LineFunction&& line) {
    if (::lseek(fd, 0, SEEK_SET) != 0) return "the file cannot be read from its start";
    ChunkReader reader(fd);
    std::string carry;
    std::size_t lineNumber = 0;
    for (;;) {
        bool failed = false;
        std::string_view chunk = reader.Next(failed);
        if (failed) return std::string("the file cannot be read: ") + std::strerror(errno);
        if (chunk.empty()) break;
        while (!chunk.empty()) {
            const char* found =
                static_cast<const char*>(std::memchr(chunk.data(), '\n', chunk.size()));
            if (!found) {
                if (carry.size() + chunk.size() > kMaxLineLength)
                    return "line " + std::to_string(lineNumber + 1) + " is longer than 1 MiB";
                carry.append(chunk);
                break;
            }
            const std::size_t end = static_cast<std::size_t>(found - chunk.data());
            ++lineNumber;
            if (carry.size() + end > kMaxLineLength)
                return "line " + std::to_string(lineNumber) + " is longer than 1 MiB";
            bool goOn = true;
            if (carry.empty()) {
                goOn = line(chunk.substr(0, end), lineNumber);
            } else {
                carry.append(chunk.substr(0, end));
                goOn = line(std::string_view(carry), lineNumber);
                carry.clear();
            }
            if (!goOn) return {};
            chunk.remove_prefix(end + 1);
        }
    }
    if (!carry.empty()) line(std::string_view(carry), lineNumber + 1);
    return {};
}

// Splits a line into fields: at commas (CSV), or at blanks and commas (free format).
template <class FieldFunction>
void ForEachField(std::string_view line, bool csv, FieldFunction&& field) {
    if (csv) {
        for (;;) {
            const std::size_t comma = line.find(',');
            field(Trim(line.substr(0, comma)));
            if (comma == std::string_view::npos) return;
            line.remove_prefix(comma + 1);
        }
    }
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (IsBlank(line[i]) || line[i] == ',')) ++i;
        const std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]) && line[i] != ',') ++i;
        if (i > start) field(Trim(line.substr(start, i - start)));
    }
}

bool IsBlankLine(std::string_view line) {
    return Trim(line).empty() && line.find(',') == line.npos;
}

// What the first non-blank line says about the file.
struct Layout {
    bool csv = false;
    bool header = false;
};

template <class T>
std::string ParseValues(int fd, const Layout& layout, std::size_t columns, std::size_t maxRows,
                        std::vector<std::vector<T>>& out, std::size_t& rows, bool& truncated) {
    std::string error;
    std::size_t column = 0;
    bool headerPending = layout.header;
    const auto full = [&] { return maxRows != 0 && rows == maxRows; };
    const std::string readError = ForEachLine(fd, [&](std::string_view line, std::size_t number) {
        if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (IsBlankLine(line)) return true;
        if (headerPending) {
            headerPending = false;
            return true;
        }
        if (full()) {
            truncated = true;
            return false;
        }
        std::size_t fields = 0;
        if (layout.csv) {
            std::string_view bad;
            fields = ParseCsvLine(line, out, columns, bad);
            if (bad.data()) {
                error = "line " + std::to_string(number) + ": '" + std::string(bad.substr(0, 40)) +
                        "' is not a number";
                return false;
            }
            if (fields == columns) ++rows;
        } else {
            ForEachField(line, false, [&](std::string_view field) {
                ++fields;
                if (!error.empty()) return;
                if (full()) {
                    truncated = true;
                    return;
                }
                T value{};
                if (!ParseField(field, value)) {
                    error = "line " + std::to_string(number) + ": '" +
                            std::string(field.substr(0, 40)) + "' is not a number";
                    return;
                }
                out[column].push_back(value);
                if (++column == columns) {
                    column = 0;
                    ++rows;
                }
            });
        }
        if (error.empty() && layout.csv && fields != columns) {
            error = "line " + std::to_string(number) + " holds " + std::to_string(fields) +
                    " values, but READ names " + std::to_string(columns) + " series";
        }
        return error.empty();
    });
    if (!readError.empty()) return readError;
    if (!error.empty()) return error;
    if (column != 0)
        return "the last observation is incomplete: the number of values is not a multiple of "
               "the " +
               std::to_string(columns) + " series that READ names";
    return {};
}

}  // namespace

DataReadResult ReadDataFile(const std::string& hostPath, std::size_t columns, std::size_t maxRows) {
    DataReadResult result;
    // Non-blocking, so that a FIFO does not wait for a writer; it is refused below.
    FileHandle file(::open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        result.error = std::string("the data file cannot be opened: ") + std::strerror(errno);
        return result;
    }
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = S_ISDIR(info.st_mode) ? "the data file is a folder, not a file"
                                             : "the data file is not a regular file";
        return result;
    }
    ::fcntl(file.Get(), F_SETFL, O_RDONLY);

    // First pass: the layout from the first non-blank line, and the number of lines (CSV) or
    // of values (free format), so that every column is reserved once.
    Layout layout;
    bool seenFirst = false;
    std::size_t dataLines = 0;
    std::size_t values = 0;
    std::vector<std::string> header;
    std::string error = ForEachLine(file.Get(), [&](std::string_view line, std::size_t) {
        if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
        if (IsBlankLine(line)) return true;
        if (!seenFirst) {
            seenFirst = true;
            layout.csv = line.find(',') != std::string_view::npos;
            std::string_view first;
            bool any = false;
            ForEachField(line, layout.csv, [&](std::string_view field) {
                if (!any) first = field;
                any = true;
            });
            layout.header = any && !LooksNumeric(first);
            if (layout.header) {
                ForEachField(line, layout.csv,
                             [&](std::string_view field) { header.emplace_back(field); });
                return true;
            }
        }
        ++dataLines;
        if (!layout.csv) ForEachField(line, false, [&](std::string_view) { ++values; });
        return true;
    });
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    std::size_t rows = layout.csv ? dataLines : values / std::max<std::size_t>(columns, 1);
    if (maxRows != 0) rows = std::min(rows, maxRows);
    if (rows == 0) {
        result.error = "the data file holds no observations";
        return result;
    }

    DataTable table;
    table.extended = rows <= kExtendedPrecisionObservations;
    std::size_t parsedRows = 0;
    if (table.extended) {
        table.wide.assign(columns, {});
        for (auto& column : table.wide) column.reserve(rows);
        error = ParseValues(file.Get(), layout, columns, maxRows, table.wide, parsedRows,
                            table.truncated);
    } else {
        table.narrow.assign(columns, {});
        for (auto& column : table.narrow) column.reserve(rows);
        error = ParseValues(file.Get(), layout, columns, maxRows, table.narrow, parsedRows,
                            table.truncated);
    }
    if (!error.empty()) {
        result.error = error;
        return result;
    }
    table.rows = parsedRows;
    table.header = std::move(header);
    result.table = std::move(table);
    return result;
}

}  // namespace tamvel::engine
