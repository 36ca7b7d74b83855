#include <model/settingscompare.h>
#include <model/settingsdocument.h>

#include <QtTest>

using namespace BravoSensorPlugin::Core;

Q_DECLARE_METATYPE(StoredValueKind)

class tst_SettingsCompare : public QObject
{
    Q_OBJECT

private slots:
    void valuesAreComparedAsOpeningReadsThem_data();
    void valuesAreComparedAsOpeningReadsThem();
    void onlyTheFilesKnownIdsAreComparedInWindowOrder();
};

void tst_SettingsCompare::valuesAreComparedAsOpeningReadsThem_data()
{
    QTest::addColumn<StoredValueKind>("kind");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("windowValue");
    QTest::addColumn<QString>("fileValue");
    QTest::addColumn<bool>("differs");

    QTest::newRow("same index") << StoredValueKind::Whole << 0 << "2"
                                << "2" << false;
    QTest::newRow("other index") << StoredValueKind::Whole << 0 << "2"
                                 << "1" << true;
    QTest::newRow("integer written otherwise") << StoredValueKind::Whole << 0 << "7"
                                               << " 07" << false;
    QTest::newRow("integer with a tail") << StoredValueKind::Whole << 0 << "7"
                                         << "7.9" << false;
    QTest::newRow("any non-zero is true") << StoredValueKind::Truth << 0 << "1"
                                          << "5" << false;
    QTest::newRow("true against false") << StoredValueKind::Truth << 0 << "1"
                                        << "0" << true;
    QTest::newRow("double below the decimals") << StoredValueKind::Decimal << 2 << "2.500000"
                                               << "2.504000" << false;
    QTest::newRow("double at the decimals") << StoredValueKind::Decimal << 2 << "2.500000"
                                            << "2.510000" << true;
    QTest::newRow("double rounds up into the next step")
        << StoredValueKind::Decimal << 1 << "2.500000"
        << "2.460000" << false;
    QTest::newRow("whole-number double") << StoredValueKind::Decimal << 0 << "3.000000"
                                         << "3.600000" << true;
    QTest::newRow("negative zero") << StoredValueKind::Decimal << 3 << "0.000000"
                                   << "-0.000100" << false;
    QTest::newRow("text is never restored") << StoredValueKind::NotRestored << 0 << "-1"
                                            << "3" << false;
}

void tst_SettingsCompare::valuesAreComparedAsOpeningReadsThem()
{
    QFETCH(StoredValueKind, kind);
    QFETCH(int, decimals);
    QFETCH(QString, windowValue);
    QFETCH(QString, fileValue);
    QFETCH(bool, differs);

    const QList<ParameterDifference> differences = compareParameters(
        {{QStringLiteral("P"), kind, windowValue, decimals}}, {{QStringLiteral("P"), fileValue}});
    QCOMPARE(differences.size(), differs ? 1 : 0);
    if (differs) {
        QCOMPARE(differenceLine(differences.first()),
                 QStringLiteral("P: file %1, sensor %2").arg(fileValue, windowValue));
    }
}

void tst_SettingsCompare::onlyTheFilesKnownIdsAreComparedInWindowOrder()
{
    const QList<StoredParameter> window{
        {QStringLiteral("B"), StoredValueKind::Whole, QStringLiteral("1"), 0},
        {QStringLiteral("NotInFile"), StoredValueKind::Whole, QStringLiteral("9"), 0},
        {QStringLiteral("A"), StoredValueKind::Whole, QStringLiteral("1"), 0}};
    const QList<ParameterEntry> file = parseParameterText(QStringLiteral("A=2;Unknown=4;B=1;B=3;"));

    const QList<ParameterDifference> differences = compareParameters(window, file);
    QStringList lines;
    for (const ParameterDifference &difference : differences)
        lines << differenceLine(difference);
    QCOMPARE(lines, QStringList({QStringLiteral("B: file 3, sensor 1"),
                                 QStringLiteral("A: file 2, sensor 1")}));
}

QTEST_GUILESS_MAIN(tst_SettingsCompare)
#include "tst_settingscompare.moc"
