#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

namespace velmora {

// The language the program speaks while this lives: its own texts and Qt's (buttons, dialogs) in
// it, and dates written in it. "en" or "pt_BR"; empty for the system's language, falling back to
// English where the program has no translation.
class ProgramLanguage
{
public:
    explicit ProgramLanguage(const QString &name = {});
    ~ProgramLanguage();
    ProgramLanguage(const ProgramLanguage &) = delete;
    ProgramLanguage &operator=(const ProgramLanguage &) = delete;

    // True for a language other than English; English takes only the forms of its counted texts.
    bool isTranslated() const { return translated_; }

private:
    QLocale previousLocale_;
    QTranslator own_;
    QTranslator qt_;
    bool translated_ = false;
};

} // namespace velmora
