#include "i18n/Translations.h"

#include <QCoreApplication>
#include <QString>
#include <QTranslator>
#include <memory>
#include <vector>

#include "platform/Translate.h"
#include "speechcodec/SpeechTexts.h"

namespace vt::i18n {

namespace {

struct Loaded {
    Language language = Language::Korean;
    std::vector<std::unique_ptr<QTranslator>> translators;
};

Loaded& State() {
    static Loaded loaded;
    return loaded;
}

}  // namespace

bool Load(Language language, std::initializer_list<const char*> catalogs) {
    Loaded& state = State();
    if (QCoreApplication::instance())
        for (auto& t : state.translators) QCoreApplication::removeTranslator(t.get());
    state.translators.clear();
    state.language = language;
    // The toolkit-free libraries say their texts through these look-ups; the
    // codec's format helpers keep their own (they cannot link vtplatform).
    using Lookup = std::string (*)(const char*, const std::string&);
    const Lookup lookup = language == Language::Korean ? nullptr : static_cast<Lookup>(&Tr);
    vt::SetTranslator(lookup);
    speechcodec::SetTextTranslator(lookup);
    if (language == Language::Korean)
        return true;
    bool all = true;
    for (const char* catalog : catalogs) {
        auto translator = std::make_unique<QTranslator>();
        const QString file =
            QStringLiteral(":/i18n/%1_%2.qm")
                .arg(QString::fromUtf8(catalog), QString::fromUtf8(LanguageCode(language)));
        if (translator->load(file))
            state.translators.push_back(std::move(translator));
        else
            all = false;
    }
    return all;
}

bool LoadForUser(std::initializer_list<const char*> catalogs) {
    return Load(UserLanguage(), catalogs);
}

Language Current() {
    return State().language;
}

void InstallIntoApplication() {
    if (!QCoreApplication::instance())
        return;
    for (auto& t : State().translators) QCoreApplication::installTranslator(t.get());
}

std::string Tr(const char* context, const std::string& text) {
    for (const auto& t : State().translators) {
        const QString found = t->translate(context, text.c_str());
        if (!found.isEmpty())
            return found.toStdString();
    }
    return text;
}

std::string TrLines(const char* context, const std::string& text) {
    const std::string whole = Tr(context, text);
    if (whole != text || text.find('\n') == std::string::npos)
        return whole;
    std::string shown;
    for (std::size_t start = 0;;) {
        const auto end = text.find('\n', start);
        shown += Tr(context, text.substr(start, end - start));
        if (end == std::string::npos)
            break;
        shown += '\n';
        start = end + 1;
    }
    return shown;
}

std::string Tr(const char* context, const std::string& text,
               std::initializer_list<std::string> args) {
    const QString result = QString::fromStdString(Tr(context, text));
    std::vector<QString> a;
    for (const std::string& arg : args) a.push_back(QString::fromStdString(arg));
    // All at once, so a "%2" inside the first argument stays as it is.
    switch (a.size()) {
        case 0:
            return result.toStdString();
        case 1:
            return result.arg(a[0]).toStdString();
        case 2:
            return result.arg(a[0], a[1]).toStdString();
        default:
            return result.arg(a[0], a[1], a[2]).toStdString();
    }
}

}  // namespace vt::i18n
