// Any bytes as a settings file, through what Open Settings reads: the document, the parameter
// text with its values, and both chart histories.
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
