#pragma once

#include "app/core/Texts.h"
#include "database/sqlite/Connection.h"
#include "notice/NoticeRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace app {

inline constexpr std::int32_t kDeletedEntry = 888888888;  // a notice deleted from a form
inline constexpr std::int32_t kNotFound = 999999999;      // a key missing from the list

// The program-wide state that the main window owns and the workflows read and set.
struct AppState {
    std::int16_t programMode = 1;  // database correction, the only mode
    Language language = Language::English;
    db::Connection dbConnection;
    std::string dbFileName;
    bool dbChanged = false;
    notice::NoticeRecord ntcRecord;
    std::vector<std::int32_t> ntcIndexList;  // terrakey of each grid row, in grid order
    std::int32_t ntcCount = 0;
    std::int32_t currentNtcIndex = 0;
    std::int32_t currentTerrakey = 0;
    std::int32_t overwrittenContourKey = 0;
};

// Where long steps tell how far they are: the main window's status box.
class StatusLine {
public:
    virtual ~StatusLine() = default;
    virtual void setStatus(const std::string& text) = 0;
    virtual std::string status() const = 0;
};

}  // namespace app
