#include <app/batchanswerer.h>

#include <QFileDialog>
#include <QMessageBox>
#include <QSignalSpy>
#include <QtTest>

using TGauge::BatchAnswerer;

class TestBatchAnswerer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void boxIsAnsweredAndPrinted_data();
    void boxIsAnsweredAndPrinted();
    void fileDialogIsCancelled();

private:
    std::unique_ptr<BatchAnswerer> m_answerer;
};

void TestBatchAnswerer::init()
{
    m_answerer = std::make_unique<BatchAnswerer>();
    qApp->installEventFilter(m_answerer.get());
}

void TestBatchAnswerer::cleanup()
{
    m_answerer.reset();
}

void TestBatchAnswerer::boxIsAnsweredAndPrinted_data()
{
    QTest::addColumn<int>("buttons");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("line");

    QTest::newRow("warning with its Ok")
        << int(QMessageBox::Ok) << int(QMessageBox::NoButton) << int(QMessageBox::Ok)
        << "tgauge: Connecting to sensor: The sensor did not respond. [OK]";
    QTest::newRow("default button first")
        << int(QMessageBox::Ok | QMessageBox::Cancel) << int(QMessageBox::Cancel)
        << int(QMessageBox::Cancel)
        << "tgauge: Connecting to sensor: The sensor did not respond. [Cancel]";
    QTest::newRow("accepting button before escape")
        << int(QMessageBox::No | QMessageBox::Yes) << int(QMessageBox::NoButton)
        << int(QMessageBox::Yes)
        << "tgauge: Connecting to sensor: The sensor did not respond. [Yes]";
    QTest::newRow("escape button when nothing accepts")
        << int(QMessageBox::Help | QMessageBox::Abort) << int(QMessageBox::NoButton)
        << int(QMessageBox::Abort)
        << "tgauge: Connecting to sensor: The sensor did not respond. [Abort]";
}

void TestBatchAnswerer::boxIsAnsweredAndPrinted()
{
    QFETCH(int, buttons);
    QFETCH(int, defaultButton);
    QSignalSpy answered(m_answerer.get(), &BatchAnswerer::answered);

    const QMessageBox::StandardButton given = QMessageBox::warning(
        nullptr, QStringLiteral("Connecting to sensor"),
        QStringLiteral("The sensor did not\nrespond."), QMessageBox::StandardButtons(buttons),
        QMessageBox::StandardButton(defaultButton));

    QTEST(int(given), "answer");
    QCOMPARE(answered.count(), 1);
    QTEST(answered.at(0).at(0).toString(), "line");
}

void TestBatchAnswerer::fileDialogIsCancelled()
{
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCOMPARE(QFileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), QDir::tempPath()),
             QString());
}

QTEST_MAIN(TestBatchAnswerer)
#include "tst_batchanswerer.moc"
