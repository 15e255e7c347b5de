#include "host/ReplayLog.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace {

enum class ColumnKind { Temperature, Load, TjMax, Time };

struct Column {
    ColumnKind kind;
    uint32_t core;  // temperature and load columns
    std::string name;
};

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    return text;
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (;;) {
        const size_t comma = line.find(',', start);
        fields.push_back(Trim(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != prefix[i])
            return false;
    return true;
}

// "7" -> 7; digits only, below the snapshot's 256 cores.
std::optional<uint32_t> CoreNumber(std::string_view digits)
{
    if (digits.empty() || digits.size() > 3)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint32_t>(c - '0');
    }
    return value;
}

std::optional<Column> ClassifyColumn(std::string_view name)
{
    if (name.size() == 4 && StartsWithNoCase(name, "time"))
        return Column{ColumnKind::Time, 0, std::string(name)};
    if (name.size() == 5 && StartsWithNoCase(name, "tjmax"))
        return Column{ColumnKind::TjMax, 0, std::string(name)};
    if (StartsWithNoCase(name, "temp"))
        if (const auto core = CoreNumber(name.substr(4)))
            return Column{ColumnKind::Temperature, *core, std::string(name)};
    if (StartsWithNoCase(name, "load"))
        if (const auto core = CoreNumber(name.substr(4)))
            return Column{ColumnKind::Load, *core, std::string(name)};
    return std::nullopt;
}

// A plain decimal: optional sign, digits, optional fraction. No exponent, no "inf" or "nan".
std::optional<float> ParseDecimal(std::string_view text)
{
    size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (digits == 0)
        return std::nullopt;
    if (text.front() == '+')
        text.remove_prefix(1);
    float value = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), value);
    if (parsed.ec != std::errc() || parsed.ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}

// The length of the well-formed UTF-8 sequence at the start of text that encodes a printable
// character (no C0 or C1 control, no DEL), or 0.
size_t PrintableCharacterLength(std::string_view text)
{
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return lead >= 0x20 && lead != 0x7F ? 1 : 0;
    struct Form {
        unsigned char firstLead, lastLead;
        size_t length;
        uint32_t leadBits, lowest;  // lowest: below it the form is overlong (or a C1 control)
    };
    constexpr Form forms[] = {
        {0xC2, 0xDF, 2, 0x1F, 0xA0}, {0xE0, 0xEF, 3, 0x0F, 0x800}, {0xF0, 0xF4, 4, 0x07, 0x10000}};
    const Form* form = nullptr;
    for (const Form& f : forms)
        if (lead >= f.firstLead && lead <= f.lastLead)
            form = &f;
    if (!form)
        return 0;
    const size_t length = form->length;
    const uint32_t lowest = form->lowest;
    uint32_t code = lead & form->leadBits;
    if (text.size() < length)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0u) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= lowest && code <= 0x10FFFF && !surrogate ? length : 0;
}

// The field in single quotes as console-safe text: its first 40 characters, every byte that
// is no printable UTF-8 character written as \xNN.
std::string Quoted(std::string_view text)
{
    constexpr size_t shown = 40;
    constexpr char hex[] = "0123456789ABCDEF";
    std::string quoted = "'";
    size_t characters = 0;
    while (!text.empty() && characters < shown) {
        size_t length = PrintableCharacterLength(text);
        if (length > 0) {
            quoted.append(text.substr(0, length));
        } else {
            const auto value = static_cast<unsigned char>(text.front());
            quoted += {'\\', 'x', hex[value >> 4], hex[value & 0x0F]};
            length = 1;
        }
        text.remove_prefix(length);
        ++characters;
    }
    if (!text.empty())
        quoted.append("...");
    return quoted + "'";
}

std::string Where(size_t line, size_t column, const std::string& name)
{
    std::string where = "line " + std::to_string(line) + ", column " + std::to_string(column);
    if (!name.empty())
        where += " (" + name + ")";
    return where + ": ";
}

// Reads the header: which column holds what. Empty error when it is sound.
std::string ReadHeader(std::string_view line, size_t lineNumber, std::vector<Column>& columns, uint32_t& coreCount)
{
    const std::vector<std::string_view> names = SplitFields(line);
    std::vector<int> temperatureColumn(maxSnapshotCores, 0);
    std::vector<int> loadColumn(maxSnapshotCores, 0);
    bool sawTjMax = false;
    bool sawTime = false;
    uint32_t highestCore = 0;
    bool anyCore = false;

    for (size_t i = 0; i < names.size(); ++i) {
        const size_t columnNumber = i + 1;
        const std::optional<Column> column = ClassifyColumn(names[i]);
        if (!column)
            return Where(lineNumber, columnNumber, "") + "unknown column " + Quoted(names[i]) +
                   "; the header names tempN, loadN (N = 0, 1, ...), tjmax and time";
        if ((column->kind == ColumnKind::Temperature || column->kind == ColumnKind::Load) &&
            column->core >= maxSnapshotCores)
            return Where(lineNumber, columnNumber, column->name) + "core numbers go from 0 to " +
                   std::to_string(maxSnapshotCores - 1);
        bool duplicate = false;
        switch (column->kind) {
        case ColumnKind::Temperature:
            duplicate = temperatureColumn[column->core] != 0;
            temperatureColumn[column->core] = static_cast<int>(columnNumber);
            break;
        case ColumnKind::Load:
            duplicate = loadColumn[column->core] != 0;
            loadColumn[column->core] = static_cast<int>(columnNumber);
            break;
        case ColumnKind::TjMax:
            duplicate = sawTjMax;
            sawTjMax = true;
            break;
        case ColumnKind::Time:
            duplicate = sawTime;
            sawTime = true;
            break;
        }
        if (duplicate)
            return Where(lineNumber, columnNumber, column->name) + "this column appears twice";
        if (column->kind == ColumnKind::Temperature || column->kind == ColumnKind::Load) {
            anyCore = true;
            if (column->core > highestCore)
                highestCore = column->core;
        }
        columns.push_back(*column);
    }
    if (!anyCore)
        return "line " + std::to_string(lineNumber) + ": the header names no tempN or loadN column";
    for (uint32_t core = 0; core <= highestCore; ++core) {
        const bool hasTemperature = temperatureColumn[core] != 0;
        const bool hasLoad = loadColumn[core] != 0;
        if (hasTemperature && hasLoad)
            continue;
        const std::string missing = (hasTemperature ? "load" : "temp") + std::to_string(core);
        if (hasTemperature || hasLoad) {
            const int column = hasTemperature ? temperatureColumn[core] : loadColumn[core];
            return Where(lineNumber, static_cast<size_t>(column), columns[static_cast<size_t>(column) - 1].name) +
                   "core " + std::to_string(core) + " has no " + missing + " column";
        }
        return "line " + std::to_string(lineNumber) + ": cores are numbered from 0 without gaps, but core " +
               std::to_string(core) + " has no columns";
    }
    coreCount = highestCore + 1;
    return {};
}

}  // namespace

void ReplayLog::FillSnapshot(size_t row, SensorSnapshot& snapshot) const
{
    std::memset(&snapshot, 0, sizeof snapshot);
    snapshot.coreCount = reportedCores[row];
    snapshot.tjMax = tjMax[row];
    for (uint32_t core = 0; core < reportedCores[row]; ++core) {
        snapshot.coreTemperature[core] = temperatures[row * coreCount + core];
        snapshot.coreLoad[core] = loads[row * coreCount + core];
    }
}

ReplayParseResult ParseReplayLog(std::string_view text)
{
    ReplayParseResult result;
    ReplayLog& log = result.log;
    std::vector<Column> columns;
    bool haveHeader = false;

    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);

    auto fail = [&result](std::string message) {
        result.ok = false;
        result.error = std::move(message);
        result.log = ReplayLog{};
        return result;
    };

    size_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        const bool cutOff = end == text.size();
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        const std::string_view content = Trim(line);
        if (content.empty() || content.front() == '#')
            continue;

        if (!haveHeader) {
            std::string error = ReadHeader(line, lineNumber, columns, log.coreCount);
            if (!error.empty())
                return fail(std::move(error));
            haveHeader = true;
            continue;
        }

        const std::vector<std::string_view> fields = SplitFields(line);
        // A line that was being written when the writer stopped: whatever reached the disk
        // of it is dropped, the rows before it stand.
        auto skipCutLine = [&](const std::string& reason) {
            result.warning = "line " + std::to_string(lineNumber) +
                             ": the last line is cut off (the log ends in the middle of it) and is skipped; " + reason;
        };
        if (fields.size() != columns.size()) {
            const size_t column = fields.size() < columns.size() ? fields.size() + 1 : columns.size() + 1;
            const std::string name = fields.size() < columns.size() ? columns[column - 1].name : "";
            std::string message =
                Where(lineNumber, column, name) +
                (fields.size() < columns.size() ? "missing value; the row has " : "extra value; the row has ") +
                std::to_string(fields.size()) + " fields and the header " + std::to_string(columns.size()) +
                (fields.size() == 1 && line.find_first_of(";\t") != std::string_view::npos
                     ? " (fields are separated by commas)"
                     : "");
            if (cutOff && fields.size() < columns.size()) {
                skipCutLine(message);
                break;
            }
            return fail(std::move(message));
        }

        const size_t row = log.RowCount();
        log.tjMax.push_back(defaultTjMax);
        log.temperatures.resize((row + 1) * log.coreCount);
        log.loads.resize((row + 1) * log.coreCount);
        // Which fields of each core hold no reading: bit 0 the temperature, bit 1 the load.
        std::vector<unsigned char> empty(log.coreCount, 0);
        std::vector<size_t> loadField(log.coreCount, 0);
        bool cut = false;
        for (size_t i = 0; i < fields.size(); ++i) {
            const Column& column = columns[i];
            if (column.kind == ColumnKind::Time)
                continue;
            const std::string where = Where(lineNumber, i + 1, column.name);
            const bool lastField = cutOff && i + 1 == fields.size();
            if (fields[i].empty() && !lastField &&
                (column.kind == ColumnKind::Temperature || column.kind == ColumnKind::Load)) {
                const bool temperature = column.kind == ColumnKind::Temperature;
                empty[column.core] |= temperature ? 1 : 2;
                if (temperature)
                    log.temperatures[row * log.coreCount + column.core] = std::numeric_limits<float>::quiet_NaN();
                else
                    loadField[column.core] = i + 1;
                continue;
            }
            const std::optional<float> value = ParseDecimal(fields[i]);
            if (!value && lastField) {
                // Cut inside its last field ("-" or an empty field): the row goes.
                log.tjMax.pop_back();
                log.temperatures.resize(row * log.coreCount);
                log.loads.resize(row * log.coreCount);
                skipCutLine(where + Quoted(fields[i]) + " is not a number");
                cut = true;
                break;
            }
            if (!value)
                return fail(where + Quoted(fields[i]) + " is not a number");
            switch (column.kind) {
            case ColumnKind::Temperature:
                if (*value < -100.0f || *value > 200.0f)
                    return fail(where + "a temperature of " + std::string(fields[i]) + " is outside -100 to 200");
                log.temperatures[row * log.coreCount + column.core] = *value;
                break;
            case ColumnKind::Load:
                if (*value < 0.0f || *value > 100.0f)
                    return fail(where + "a load of " + std::string(fields[i]) + " is outside 0 to 100");
                log.loads[row * log.coreCount + column.core] = static_cast<uint32_t>(std::lround(*value));
                break;
            case ColumnKind::TjMax:
                if (*value < 0.0f || *value > 200.0f || std::floor(*value) != *value)
                    return fail(where + "TjMax needs a whole number from 0 to 200, not " + std::string(fields[i]));
                log.tjMax[row] = static_cast<uint32_t>(*value);
                break;
            case ColumnKind::Time:
                break;
            }
        }
        if (cut)
            break;
        uint32_t reported = log.coreCount;
        while (reported > 0 && empty[reported - 1] == 3)
            --reported;
        for (uint32_t core = 0; core < reported; ++core) {
            if (empty[core] == 3)
                return fail("line " + std::to_string(lineNumber) + ": core " + std::to_string(core) +
                            " has no reading but core " + std::to_string(reported - 1) +
                            " after it has one; a snapshot reports its cores from 0 up, so only the last cores "
                            "of a row can be left empty");
            if (empty[core] == 2)
                return fail(Where(lineNumber, loadField[core], columns[loadField[core] - 1].name) +
                            "the load is empty but the temperature is not; a load can be left empty only with its "
                            "temperature, for a core the snapshot does not report");
        }
        log.reportedCores.push_back(reported);
    }

    if (!haveHeader)
        return fail("line " + std::to_string(lineNumber + 1) + ": the log has no header line");
    if (log.RowCount() == 0)
        return fail("line " + std::to_string(lineNumber + 1) + ": the log has a header but no rows");
    result.ok = true;
    return result;
}
