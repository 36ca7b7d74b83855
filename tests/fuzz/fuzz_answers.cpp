// Any answer of the master decoded by every rule the window uses: into a property of each manager
// kind, as process data and as an identity.
#include <comm/answers.h>
#include <comm/processdata.h>
#include <model/parameterids.h>
#include <window/propertyvalues.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qtpropertymanager.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace {

using namespace BravoSensorPlugin::Core;

struct Managers
{
    QtBoolPropertyManager bools;
    QtIntPropertyManager ints;
    QtDoublePropertyManager doubles;
    QtStringPropertyManager strings;
    QtEnumPropertyManager enums;
    std::vector<QtProperty *> properties;

    Managers()
    {
        setManagerKind(&bools, ParameterKind::Bool);
        setManagerKind(&ints, ParameterKind::Int);
        setManagerKind(&doubles, ParameterKind::Double);
        setManagerKind(&strings, ParameterKind::String);
        setManagerKind(&enums, ParameterKind::Enumerator);
        properties = {bools.addProperty(QStringLiteral("b")),
                      ints.addProperty(QStringLiteral("i")),
                      doubles.addProperty(QStringLiteral("ThresholdsPressure1A1")),
                      doubles.addProperty(QStringLiteral("ThresholdsTemp1A1")),
                      strings.addProperty(QStringLiteral("s")),
                      enums.addProperty(QLatin1String(ParameterIds::temperatureSettings))};
        enums.setEnumNames(properties.back(),
                           {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        for (QtProperty *property : properties)
            property->setPropertyId(property->propertyName());
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_answers";
    static char *argv[] = {name, nullptr};
    static QCoreApplication application(argc, argv);
    static Managers managers;

    const QByteArray answer(reinterpret_cast<const char *>(data), int(size));
    for (const double divisor : {1.0, 10.0, 100.0, 1000.0}) {
        for (QtProperty *property : managers.properties)
            applyAnswer(property, answer, {divisor, true});
        decodeProcessData(QString::fromLatin1(answer.toHex()), divisor);
    }
    identityText(answer);
    identityMatches(answer, QStringLiteral("K7DA"));
    return 0;
}
