#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>
#include <utils/connectionstatus.h>
#include <utils/progressbarui.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace Utils;

class tst_UtilsWidgets : public QObject
{
    Q_OBJECT

private slots:
    void lampAndTextShowTheStateWithoutChangingSize();
    void buttonPropertyShowsTheValueAndEmitsButtonClicked();
    void waitEndsOnlyOnItsOwnId_data();
    void waitEndsOnlyOnItsOwnId();
    void deletingDuringTheWaitEndsIt();
};

void tst_UtilsWidgets::lampAndTextShowTheStateWithoutChangingSize()
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

void tst_UtilsWidgets::buttonPropertyShowsTheValueAndEmitsButtonClicked()
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
    QCOMPARE(button->text(), QStringLiteral("Teach"));
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

void tst_UtilsWidgets::waitEndsOnlyOnItsOwnId_data()
{
    QTest::addColumn<bool>("showUi");
    QTest::newRow("without ui nothing shows") << false;
    QTest::newRow("with ui a modal indicator shows") << true;
}

void tst_UtilsWidgets::waitEndsOnlyOnItsOwnId()
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

void tst_UtilsWidgets::deletingDuringTheWaitEndsIt()
{
    QPointer<ProgressBarUi> wait = new ProgressBarUi(nullptr);
    QTimer::singleShot(0, [&] { delete wait.data(); });
    wait->exec(3);
    QVERIFY(wait.isNull());
}

QTEST_MAIN(tst_UtilsWidgets)
#include "tst_utilswidgets.moc"
