#pragma once

namespace db { class Connection; }
namespace platform { class Prompter; }

namespace forms {

class NoticeForm;

/// Before an update writes anything, whether or not ChkValidate is ticked: every box's text
/// that the update reads fits the column that stores it, and each date the boxes give is a
/// day of the calendar.
/// Otherwise warns about the first box that fails as its row's check does (its title, its
/// beep), saying what the box expects, puts the focus in that box and returns false.
bool maySave(NoticeForm& form, db::Connection& conn, platform::Prompter& prompter);

}  // namespace forms
