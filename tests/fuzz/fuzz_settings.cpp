// Any bytes as a settings file, through what Open Settings reads: the document, its check, the
// parameter text with its values, and both chart histories.
#include <model/parameterids.h>
#include <model/settingscheck.h>
#include <model/settingsdocument.h>
#include <utils/historytext.h>
#include <utils/valueovertime.h>

#include <QByteArray>

#include <cstdint>

using namespace BravoSensorPlugin::Core;

namespace {

void readHistory(const std::optional<std::string> &text)
{
    Utils::ValueOverTime history;
    if (text)
        Utils::Charts::historyFromText(*text, ';', history);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const SettingsReadResult result = readSettingsDocument(bytes);
    static const QList<ParameterRule> rules{
        {QLatin1String(ParameterIds::temperatureSettings), false, 0.0, 7.0, std::nullopt},
        {QStringLiteral("OnDelay1"), false, 0.0, 10000.0, std::nullopt},
        {QStringLiteral("ThresholdsPressure1A1"), true, -1.0, 25.0, Quantity::Pressure},
        {QStringLiteral("ThresholdsTemp1A1"), true, -40.0, 125.0, Quantity::Temperature}};
    checkSettings(result, QStringLiteral("KR7D-P025"), rules, 5);
    if (result.error != SettingsReadError::None)
        return 0;
    const SettingsDocument &document = result.document;
    if (document.parameterText) {
        for (const ParameterEntry &entry : parseParameterText(*document.parameterText)) {
            parameterInt(entry.value);
            parameterDouble(entry.value);
        }
    }
    readHistory(document.chartData0);
    readHistory(document.chartData1);
    return 0;
}
