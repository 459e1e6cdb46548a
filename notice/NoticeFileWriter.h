#pragma once

#include "NoticeRecord.h"

#include <cstdint>
#include <string>

// Turning notice records back into the sections of an electronic notice file. Texts are
// UTF-8 with CR LF inside; NoticeFileOutput writes them to the file.
namespace notice {

/// CR LF, key, " = ", value; "" when either is empty. A CR or LF inside becomes a blank.
std::string keyValueLine(const std::string& key, const std::string& value);
/// "<name>", body, CR LF, "</name>"; "" when either is empty.
std::string wrapSection(const std::string& name, const std::string& body);

std::string writeHeadSection(const std::string& adm, const std::string& email);
std::string writeNoticeSection(const NoticeRecord& rec, std::int32_t number);
/// "" for fewer than one notice.
std::string writeTailSection(std::int32_t notices);

std::string writeCoordSection(const AdmList& list);
std::string writeCoordASection(const AdmList& list);
std::string writeCoordOSection(const AdmList& list);
std::string writeAntHgtSection(const NoticeRecord& rec);
std::string writeAntDiagrSections(const NoticeRecord& rec);

/// A coordinate in the file's form: sign, degrees (3 digits east/west, 2 north/south),
/// minutes and seconds ("00" when empty); "" without degrees, minutes or a hemisphere.
std::string formatCoord(const std::string& deg, const std::string& min, const std::string& sec,
                        const std::string& hemisphere);
/// "HH:MM" from "HHMM"; "" for "".
std::string formatHHMM(const std::string& hhmm);
/// A date as the file holds it: yyyy-mm-dd when it can be read, else unchanged.
std::string formatFileDate(const std::string& date);

}  // namespace notice
