#include "app/core/Texts.h"

namespace app {
namespace {

constexpr Text kMenuTexts[] = {
    {"mnuFile", {"File", "Fichier", "Fichero"}},
    {"mnuPref", {"Preferences", "Préférences", "Preferencia"}},
    {"mnuPrefLang", {"Language", "Langue", "Idioma"}},
    {"mnuPrefLangE", {"English", "Anglais", "Inglés"}},
    {"mnuPrefLangF", {"French", "Français", "Francés"}},
    {"mnuPrefLangS", {"Spanish", "Espagnol", "Español"}},
};

}  // namespace

std::span<const Text> menuTexts()
{
    return kMenuTexts;
}

const char* textFor(std::span<const Text> texts, std::string_view name, Language language)
{
    for (const Text& t : texts)
        if (t.name == name)
            return t.words[std::size_t(language)];
    return nullptr;
}

}  // namespace app
