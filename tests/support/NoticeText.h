#pragma once

#include "notice/NoticeFileReader.h"

#include <string>
#include <vector>

namespace testing_support {

/// The notices of a notice file's text, read as the import reads them.
std::vector<notice::NoticeRecord> readNotices(const std::string& text);

/// The one notice of a NOTICE section body, after a HEAD naming the administration "F".
notice::NoticeRecord readNotice(const std::string& body);

/// A full television notice: MODIFY with a target, 36 heights and attenuations of each
/// polarisation, 13 coordinating administrations, an operating period and 200 characters of
/// accented remarks.
std::string fullTelevisionNotice();

/// The same notice as a sound notice (T01, GE84, 98.5 MHz) that also holds a colour system, a
/// vision/sound power ratio, a bandwidth and a transmission system.
std::string fullSoundNotice();

}  // namespace testing_support
