#include "Fatal.h"

#include "FixedText.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace geo {
namespace {

std::string field(const char* text, long length)
{
    return std::string(trimRight(fromFixed(text, length)));
}

}  // namespace

std::string rightAligned(std::int64_t value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    if (digits.size() > width)
        return std::string(width, '*');
    return std::string(width - digits.size(), ' ') + digits;
}

ErrorRecord::ErrorRecord()
{
    std::memset(routineName, ' ', sizeof routineName);
    std::memset(limitName, ' ', sizeof limitName);
    std::memset(blockName, ' ', sizeof blockName);
    std::memset(messageLines, ' ', sizeof messageLines);
}

ErrorRecord& errorRecord()
{
    static ErrorRecord record;
    return record;
}

void printLine(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string errorReport(const ErrorRecord& r)
{
    std::string out = " --- Error in routine " + field(r.routineName, 12) + "\n";
    const std::string limit = field(r.limitName, 12);
    switch (FatalKind(r.errorKind)) {
    case FatalKind::MissingLine:
        out += " Did not find the line" + rightAligned(r.errorValue, 8) + " in the coordinate file.\n";
        break;
    case FatalKind::BlockLimit:
        out += " Increase the parameter " + limit + "=" + rightAligned(r.errorValue, 6) + " in " +
               field(r.blockName, 12) + "\n";
        break;
    case FatalKind::WrongVersion:
        out += " Wrong version, relink program.\n";
        break;
    case FatalKind::NoAllotment:
        out += " No match on Allotment id: " + limit + "\n";
        break;
    case FatalKind::Limit:
        out += " Increase the parameter " + limit + "=" + rightAligned(r.errorValue, 6) + "\n";
        break;
    case FatalKind::CallerDimension:
        out += " Increase dimension for " + limit + " in the calling routine.\n";
        break;
    case FatalKind::Message:
        out += fromFixed(r.messageLines[0], 60) + "\n";
        break;
    case FatalKind::FreeLines:
        for (const auto& line : r.messageLines) {
            const std::string text = field(line, 60);
            if (!text.empty())
                out += " " + text + "\n";
        }
        break;
    default:
        break;
    }
    return out;
}

void GEOERR()
{
    const std::string report = errorReport(errorRecord());
    std::fwrite(report.data(), 1, report.size(), stdout);
    CANCELR();
}

void CANCELR()
{
    printLine(" >>>> CANCELR - ABNORMAL END");
    std::fflush(stdout);
#ifdef GEO_FATAL_RETURNS
    throw FatalEnd{};
#else
    std::exit(EXIT_FAILURE);
#endif
}

void fatal(FatalKind kind, std::string_view routine, std::int32_t value, std::string_view limit,
           std::string_view block)
{
    ErrorRecord& r = errorRecord();
    r.errorKind = std::int32_t(kind);
    r.errorValue = value;
    toFixed(r.routineName, 12, routine);
    toFixed(r.limitName, 12, limit);
    toFixed(r.blockName, 12, block);
    GEOERR();
}

void fatalMessage(std::string_view routine, std::string_view line)
{
    toFixed(errorRecord().messageLines[0], 60, line);
    fatal(FatalKind::Message, routine);
}

void fatalMissingLine(std::string_view routine, std::int32_t lineId)
{
    fatal(FatalKind::MissingLine, routine, lineId);
}

void fatalBlockLimit(std::string_view routine, std::string_view limit, std::int32_t value, std::string_view block)
{
    fatal(FatalKind::BlockLimit, routine, value, limit, block);
}

void fatalCallerDimension(std::string_view routine, std::string_view argument)
{
    fatal(FatalKind::CallerDimension, routine, 0, argument);
}

void fatalLimit(std::string_view routine, std::string_view limit, std::int32_t value)
{
    fatal(FatalKind::Limit, routine, value, limit);
}

void fatalNoAllotment(std::string_view routine, std::string_view id)
{
    fatal(FatalKind::NoAllotment, routine, 0, id);
}

void fatalWrongVersion(std::string_view routine)
{
    fatal(FatalKind::WrongVersion, routine);
}

}  // namespace geo
