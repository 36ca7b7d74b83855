#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/csvexport.h>
#include <utils/exportdialog.h>
#include <utils/progressbarui.h>
#include <utils/valueovertime.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Utils;

Q_DECLARE_METATYPE(CsvDelimiterChoice)

namespace {

double localMs(int year, int month, int day, int hour, int minute, int second, int ms)
{
    return double(QDateTime(QDate(year, month, day), QTime(hour, minute, second, ms), Qt::LocalTime)
                      .toMSecsSinceEpoch());
}

// `count` samples 250 ms apart from 4 December 2026 14:03:07.250 local time,
// valued start, start + 1, ...
ValueOverTime series(int count, double start)
{
    ValueOverTime result;
    const double first = localMs(2026, 12, 4, 14, 3, 7, 250);
    for (int i = 0; i < count; ++i)
        result.append(first + 250.0 * i, start + i, 0.0);
    return result;
}

const QList<QString> oneSeries{QStringLiteral("Time"), QStringLiteral("Signal")};
const QList<QString> twoSeries{QStringLiteral("Time"), QStringLiteral("Signal"),
                               QStringLiteral("Temperature")};

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class tst_Utils : public QObject
{
    Q_OBJECT

private slots:
    void csvDelimiterJoinsChoicesInFixedOrder_data();
    void csvDelimiterJoinsChoicesInFixedOrder();
    void csvLinesCarryLocalTimeAndFixedValues_data();
    void csvLinesCarryLocalTimeAndFixedValues();
    void csvSeriesOfDifferentLengthsLeaveCellsEmpty();
    void exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites_data();
    void exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites();
    void csvWriteReplacesTheWholeFileOrCreatesNothing();
    void csvProgressSeesEveryLineAndCanStop();
    void connectionLampAndTextShowTheStateWithoutChangingSize();
    void buttonPropertyShowsTheValueAndEmitsButtonClicked();
    void progressWaitEndsOnlyOnItsOwnId_data();
    void progressWaitEndsOnlyOnItsOwnId();
    void deletingDuringTheProgressWaitEndsIt();

private:
    QTemporaryDir m_dir;
};

void tst_Utils::csvDelimiterJoinsChoicesInFixedOrder_data()
{
    QTest::addColumn<CsvDelimiterChoice>("choice");
    QTest::addColumn<QString>("expected");

    // tab, comma, semicolon, space, other, other text
    QTest::newRow("nothing checked")
        << CsvDelimiterChoice{false, false, false, false, false, QStringLiteral("|")} << QString();
    QTest::newRow("all five") << CsvDelimiterChoice{true, true, true,
                                                    true, true, QStringLiteral("||")}
                              << QStringLiteral("\t,; ||");
    QTest::newRow("other text unchecked is ignored")
        << CsvDelimiterChoice{false, true, false, false, false, QStringLiteral("|")}
        << QStringLiteral(",");
    QTest::newRow("other text taken as Latin-1")
        << CsvDelimiterChoice{false, false, false, false, true, QStringLiteral("\u00a7\u20ac")}
        << QStringLiteral("\u00a7?");
}

void tst_Utils::csvDelimiterJoinsChoicesInFixedOrder()
{
    QFETCH(CsvDelimiterChoice, choice);
    QTEST(choice.text(), "expected");
}

void tst_Utils::csvLinesCarryLocalTimeAndFixedValues_data()
{
    QTest::addColumn<double>("time");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QByteArray>("line");

    const double example = localMs(2026, 12, 4, 14, 3, 7, 250);
    QTest::newRow("no decimals round")
        << example << 1234.5678 << 0 << QByteArray("04-12-2026 14:03:07.250;1235");
    QTest::newRow("four decimals pad")
        << example << -0.5 << 4 << QByteArray("04-12-2026 14:03:07.250;-0.5000");
    QTest::newRow("milliseconds padded")
        << localMs(2027, 1, 2, 3, 4, 5, 7) << 1.0 << 1 << QByteArray("02-01-2027 03:04:05.007;1.0");
    QTest::newRow("before 1970") << localMs(1969, 12, 31, 23, 59, 58, 999) << 3.0 << 0
                                 << QByteArray("31-12-1969 23:59:58.999;3");
}

void tst_Utils::csvLinesCarryLocalTimeAndFixedValues()
{
    QFETCH(double, time);
    QFETCH(double, value);
    QFETCH(int, precision);
    QFETCH(QByteArray, line);

    ValueOverTime values;
    values.append(time, value, 0.0);
    const QByteArray text = Utils::csvText({&values}, oneSeries, QStringLiteral(";"), precision);
    QCOMPARE(text, QByteArray("Time;Signal\n") + line + '\n');
}

void tst_Utils::csvSeriesOfDifferentLengthsLeaveCellsEmpty()
{
    const ValueOverTime pressure = series(2, 1.0);
    const ValueOverTime temperature = series(3, 20.0);
    const QByteArray text
        = Utils::csvText({&pressure, &temperature}, twoSeries, QStringLiteral("\t,"), 1);
    QCOMPARE(text, QByteArray("Time\t,Signal\t,Temperature\n"
                              "04-12-2026 14:03:07.250\t,1.0\t,20.0\n"
                              "04-12-2026 14:03:07.500\t,2.0\t,21.0\n"
                              "04-12-2026 14:03:07.750\t,\t,22.0\n"));
}

void tst_Utils::exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("accepted") << true;
    QTest::newRow("rejected") << false;
}

void tst_Utils::exportDialogPreviewFollowsTheChoicesAndOnlyAcceptWrites()
{
    QFETCH(bool, accept);
    const ValueOverTime pressure = series(25, 1.0);
    const ValueOverTime temperature = series(25, 30.0);
    QList<const ValueOverTime *> list{&pressure, &temperature};
    QList<QString> names = twoSeries;
    const QString path = m_dir.filePath(QStringLiteral("%1.csv").arg(accept));
    ExportDialog dialog(&list, &names);
    dialog.setPrecision(2);
    for (const char *box : {"semicolonCheckBox", "tabCheckBox", "commaCheckBox", "otherCheckBox"})
        dialog.findChild<QCheckBox *>(QLatin1String(box))->toggle();
    dialog.findChild<QLineEdit *>(QStringLiteral("otherLineEdit"))->setText(QStringLiteral("|"));
    QCOMPARE(dialog.delimiter(), QStringLiteral("\t,|"));
    const QStringList preview = dialog.findChild<QPlainTextEdit *>(QStringLiteral("previewEdit"))
                                    ->toPlainText()
                                    .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(preview.size(), 11);
    QCOMPARE(preview.last(), QStringLiteral("04-12-2026 14:03:09.500\t,|10.00\t,|39.00"));

    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    auto *file = dialog.findChild<QLineEdit *>(QStringLiteral("fileLineEdit"));
    QVERIFY(!ok->isEnabled());
    file->setText(QStringLiteral("  "));
    QVERIFY(!ok->isEnabled());
    file->setText(path);
    QVERIFY(ok->isEnabled());
    if (accept)
        ok->click();
    else
        dialog.reject();
    QCOMPARE(readAll(path), accept ? Utils::csvText(list, names, QStringLiteral("\t,|"), 2) : "");
}

void tst_Utils::csvWriteReplacesTheWholeFileOrCreatesNothing()
{
    const QString path = m_dir.filePath(QStringLiteral("replaced.csv"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(4096, 'x'));
    old.close();
    QVERIFY(Utils::writeFileAtomically(path, QByteArray("Time;Signal\n")));
    QCOMPARE(readAll(path), QByteArray("Time;Signal\n"));

    const QTemporaryDir dir;
    QVERIFY(!Utils::writeFileAtomically(dir.filePath(QStringLiteral("missing/out.csv")), "x"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void tst_Utils::csvProgressSeesEveryLineAndCanStop()
{
    const ValueOverTime values = series(40000, 0.0);
    QList<int> reported;
    const auto record = [&reported](int done, int total) {
        reported << done;
        return total == 40000;
    };
    const QByteArray text
        = Utils::csvText({&values}, oneSeries, QStringLiteral(";"), 0, -1, record);
    QCOMPARE(text.count('\n'), 40001);
    QCOMPARE(reported.first(), 0);
    QCOMPARE(reported.last(), 40000);
    QVERIFY(std::is_sorted(reported.cbegin(), reported.cend()));

    const auto stop = [](int done, int) { return done == 0; };
    QVERIFY(Utils::csvText({&values}, {QStringLiteral("Time")}, QStringLiteral(";"), 0, -1, stop)
                .isEmpty());
}

void tst_Utils::connectionLampAndTextShowTheStateWithoutChangingSize()
{
    ConnectionStatus status;
    const QSize size = status.sizeHint();
    status.resize(size);
    for (const bool connected : {true, false}) {
        status.setConnected(connected);
        QCOMPARE(status.sizeHint(), size);
        QCOMPARE(status.text(),
                 connected ? QStringLiteral("Connected") : QStringLiteral("Disconnected"));
        QCOMPARE(status.toolTip(), status.text());
        const QImage image = status.grab().toImage();
        const QColor lamp
            = image.pixelColor(4 + (status.fontMetrics().height() - 2) / 2, image.height() / 2);
        QCOMPARE(lamp.green() > lamp.red() + 40, connected);
        QCOMPARE(lamp.red() > lamp.green() + 40, !connected);
    }
}

void tst_Utils::buttonPropertyShowsTheValueAndEmitsButtonClicked()
{
    ButtonManager manager;
    ButtonFactory factory;
    QtTreePropertyBrowser browser;
    browser.setFactoryForManager(&manager, &factory);
    QtProperty *property = manager.addProperty(QStringLiteral("Teach-in"));
    manager.setValue(property, QStringLiteral("Teach"));
    QtBrowserItem *item = browser.addProperty(property);
    browser.show();
    browser.setCurrentItem(item);
    browser.editItem(item);
    auto *button = browser.findChild<QPushButton *>();
    QVERIFY(button);
    QList<QtProperty *> clicked;
    connect(&manager, &ButtonManager::buttonClicked, this,
            [&clicked](QtProperty *sender) { clicked.append(sender); });
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(clicked, QList<QtProperty *>{property});

    QSignalSpy changed(&manager, &ButtonManager::valueChanged);
    manager.setValue(property, QStringLiteral("Einlernen"));
    manager.setValue(property, QStringLiteral("Einlernen"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(button->text(), QStringLiteral("Einlernen"));
    QCOMPARE(property->valueText(), QStringLiteral("Einlernen"));
}

void tst_Utils::progressWaitEndsOnlyOnItsOwnId_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::newRow("without ui nothing shows") << false;
    QTest::newRow("with ui a modal indicator shows") << true;
}

void tst_Utils::progressWaitEndsOnlyOnItsOwnId()
{
    QFETCH(bool, showUi);
    QWidget parent;
    parent.show();
    ProgressBarUi wait(&parent);
    wait.setShowUi(showUi);
    wait.setModal(true);
    QStringList events;
    bool indicatorShown = false;
    // Each exit comes in its own turn of the event loop, after the previous one.
    const std::function<void(QList<unsigned int>)> exitInTurn = [&](QList<unsigned int> ids) {
        if (ids.isEmpty())
            return;
        QTimer::singleShot(0, &wait, [&, ids]() mutable {
            indicatorShown = wait.isUiVisible() && QApplication::activeModalWidget();
            const unsigned int id = ids.takeFirst();
            events << QStringLiteral("exit %1").arg(id);
            wait.exit(id);
            exitInTurn(ids);
        });
    };
    exitInTurn({7, 4, 5});
    wait.exec(5);
    events << QStringLiteral("returned");
    // An id that came before its wait ends it at once; the queued exit only rescues a failure.
    wait.exit(9);
    exitInTurn({9});
    wait.exec(9);
    events << QStringLiteral("returned");
    QCOMPARE(events, QStringList({QStringLiteral("exit 7"), QStringLiteral("exit 4"),
                                  QStringLiteral("exit 5"), QStringLiteral("returned"),
                                  QStringLiteral("returned")}));
    QCOMPARE(indicatorShown, showUi);
    QVERIFY(!wait.isUiVisible());
}

void tst_Utils::deletingDuringTheProgressWaitEndsIt()
{
    QPointer<ProgressBarUi> wait = new ProgressBarUi(nullptr);
    QTimer::singleShot(0, [&] { delete wait.data(); });
    wait->exec(3);
    QVERIFY(wait.isNull());
}

QTEST_MAIN(tst_Utils)
#include "tst_utils.moc"
