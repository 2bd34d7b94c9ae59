#include "app/RememberedImportChoices.h"

#include <QSettings>
#include <QString>

#include <memory>
#include <utility>

#include "import/ImportPicture.h"
#include "import/ImportSettingsText.h"

namespace {

const QString kGroup = QStringLiteral("Import");

std::string Word(const QSettings& settings, const char* key) {
    return settings.value(QString::fromLatin1(key)).toString().toStdString();
}

void Put(QSettings& settings, const char* key, const std::string& word) {
    settings.setValue(QString::fromLatin1(key), QString::fromStdString(word));
}

const char* OnOff(bool on) { return on ? "on" : "off"; }

}  // namespace

namespace RememberedImportChoices {

ImportChoices Load() {
    QSettings settings;
    settings.beginGroup(kGroup);
    ImportChoices choices;
    import::ImportSettings& s = choices.Settings;
    if (const auto fit = import::ParseFitMode(Word(settings, "Fit"))) s.Fit = *fit;
    if (const auto colour = import::ParseHexColour(Word(settings, "BackgroundColour"))) s.Background = *colour;
    if (const auto trim = import::ParseOnOff(Word(settings, "Trim"))) s.Trim = *trim;
    if (const auto match = import::ParseMatchRule(Word(settings, "Match"))) s.Match = *match;
    if (const auto dither = import::ParseDitherMode(Word(settings, "Dither"))) s.Dither = *dither;
    if (const auto avoid = import::ParseAvoidList(Word(settings, "Avoid"), nullptr)) s.Avoid = *avoid;
    if (const auto strict = import::ParseOnOff(Word(settings, "Strict"))) s.Strict = *strict;
    if (std::string file = Word(settings, "BackgroundFile"); !file.empty()) {
        if (auto frame = import::LoadBackgroundFrame(file, nullptr)) {
            s.BackgroundFrame = std::make_shared<const imagefiles::RgbaPicture>(std::move(*frame));
            choices.BackgroundFile = std::move(file);
        }
    }
    return choices;
}

void Save(const ImportChoices& Choices) {
    QSettings settings;
    settings.beginGroup(kGroup);
    const import::ImportSettings& s = Choices.Settings;
    Put(settings, "Fit", FitModeWord(s.Fit));
    Put(settings, "BackgroundColour", ColourText(s.Background));
    Put(settings, "BackgroundFile", s.BackgroundFrame ? Choices.BackgroundFile : std::string());
    Put(settings, "Trim", OnOff(s.Trim));
    Put(settings, "Match", std::string(import::MatchRuleName(s.Match)));
    Put(settings, "Dither", DitherModeWord(s.Dither));
    Put(settings, "Avoid", AvoidListText(s.Avoid));
    Put(settings, "Strict", OnOff(s.Strict));
}

}  // namespace RememberedImportChoices
