// Module1: what the help buttons and the two contact links hand to the shell, which opens it with the
// user's default program. The form says what is opened; each front says how its platform opens it.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace form {

// A request to the shell.
struct ShellTarget {
    enum class Kind {
        HelpPage,    // text: a help page's file name; the page lies in the program's folder
        WebAddress,  // text: the web link's caption as it stands, no scheme added or normalised
        MailMessage, // text: "mailto:" + address + "?Subject=страховка", UTF-8, nothing escaped
    };
    Kind kind;
    std::string text;

    bool operator==(const ShellTarget &) const = default;
};

namespace Module1 {

// The help page each help button opens.
struct HelpPage {
    std::string_view button;
    std::string_view page;
};
inline constexpr auto kHelpPages = std::to_array<HelpPage>({
    {"Command4", "tarif.htm"},  // "Прочитать", step 1
    {"Command1", "prim.htm"},   // "Примечание", step 3
    {"Command3", "struk.htm"},  // "Структура страхового тарифа", page 10
    {"Command5", "primer.htm"}, // "Пример", bottom strip
});

// The page a button opens; empty for a control that opens none.
constexpr std::string_view helpPageOf(std::string_view button)
{
    for (const HelpPage &help : kHelpPages)
        if (help.button == button)
            return help.page;
    return {};
}

inline constexpr std::string_view kTariffPage = helpPageOf("Command4");
inline constexpr std::string_view kNotePage = helpPageOf("Command1");
inline constexpr std::string_view kStructurePage = helpPageOf("Command3");
inline constexpr std::string_view kExamplePage = helpPageOf("Command5");

// The subject of the new message that the mail link starts.
inline constexpr std::string_view kMailSubject = "страховка";

inline ShellTarget helpPage(std::string_view page)
{
    return {ShellTarget::Kind::HelpPage, std::string(page)};
}

inline ShellTarget webAddress(std::string_view caption)
{
    return {ShellTarget::Kind::WebAddress, std::string(caption)};
}

inline ShellTarget mailMessage(std::string_view caption)
{
    return {ShellTarget::Kind::MailMessage,
        "mailto:" + std::string(caption) + "?Subject=" + std::string(kMailSubject)};
}

} // namespace Module1

} // namespace form
