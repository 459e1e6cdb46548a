#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

// The languages of the program's texts, and the one table of the texts that follow them.
namespace app {

enum class Language : std::int16_t { English = 0, French = 1, Spanish = 2 };
inline constexpr std::size_t kLanguages = 3;

/// The program's version text: the main window's caption, appended to each entry form's title.
inline constexpr const char* kVersionText = " ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005";

struct Text {
    std::string_view name;  // the object name of the control that shows it
    std::array<const char*, kLanguages> words;
};

/// The menus' texts, one row per control; the forms add their own rows.
std::span<const Text> menuTexts();

/// The text of the named control in the language; nullptr when the table has none.
const char* textFor(std::span<const Text> texts, std::string_view name, Language language);

}  // namespace app
