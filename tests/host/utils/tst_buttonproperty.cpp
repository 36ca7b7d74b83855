#include <utils/buttonfactory.h>
#include <utils/buttonmanager.h>

#include <propertybrowser/qtproperty.h>
#include <propertybrowser/qttreepropertybrowser.h>

#include <QPushButton>
#include <QtTest>

using Utils::ButtonFactory;
using Utils::ButtonManager;

namespace {

// A shown tree browser with one button property captioned "Teach".
struct Fixture
{
    Fixture()
    {
        browser.setFactoryForManager(&manager, &factory);
        property = manager.addProperty(QStringLiteral("Teach-in"));
        manager.setValue(property, QStringLiteral("Teach"));
        item = browser.addProperty(property);
        browser.show();
    }

    QPushButton *openEditor()
    {
        browser.setCurrentItem(item);
        browser.editItem(item);
        return browser.findChild<QPushButton *>();
    }

    ButtonManager manager;
    ButtonFactory factory;
    QtTreePropertyBrowser browser;
    QtProperty *property = nullptr; // owned by manager
    QtBrowserItem *item = nullptr;  // owned by browser
};

} // namespace

class tst_ButtonProperty : public QObject
{
    Q_OBJECT

private slots:
    void buttonShowsTheValueAndEmitsButtonClicked();
};

void tst_ButtonProperty::buttonShowsTheValueAndEmitsButtonClicked()
{
    Fixture fixture;
    QList<QtProperty *> clicked;
    connect(&fixture.manager, &ButtonManager::buttonClicked, this,
            [&clicked](QtProperty *property) { clicked.append(property); });
    QPushButton *button = fixture.openEditor();
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Teach"));

    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_COMPARE(clicked, QList<QtProperty *>{fixture.property});

    QSignalSpy changed(&fixture.manager, &ButtonManager::valueChanged);
    fixture.manager.setValue(fixture.property, QStringLiteral("Einlernen"));
    fixture.manager.setValue(fixture.property, QStringLiteral("Einlernen"));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(button->text(), QStringLiteral("Einlernen"));
    QCOMPARE(fixture.property->valueText(), QStringLiteral("Einlernen"));
}

QTEST_MAIN(tst_ButtonProperty)
#include "tst_buttonproperty.moc"
