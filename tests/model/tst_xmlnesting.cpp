#include <model/xmlnesting.h>

#include <QTest>

#include <string>

using BravoSensorPlugin::Core::xmlNestingDepth;

class tst_XmlNesting : public QObject
{
    Q_OBJECT

private slots:
    void depthIsNeverBelowTheReadersDepth_data();
    void depthIsNeverBelowTheReadersDepth();
};

void tst_XmlNesting::depthIsNeverBelowTheReadersDepth_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("depth");
    QTest::newRow("flat") << QByteArray("<?xml version=\"1.0\"?><a>x</a>") << 1;
    QTest::newRow("nested and closed") << QByteArray("<a><b><c/></b><b/></a>") << 3;
    QTest::newRow("quoted markup in attributes")
        << QByteArray("<a x=\"/>\"><b y='></'>t</b></a>") << 2;
    QTest::newRow("comment hides markup") << QByteArray("<a><!-- <b><c> --></a>") << 1;
    QTest::newRow("declaration ends at its first '>'")
        << QByteArray("<a><!DOCTYPE x [<b>]><c/></a>") << 2;
    QTest::newRow("stray closing tags first") << QByteArray("</a></a><a><b>") << 2;
    const int deep = 100000;
    QTest::newRow("100 000 levels")
        << QByteArray("<a>").repeated(deep) + QByteArray("</a>").repeated(deep) << deep;
}

void tst_XmlNesting::depthIsNeverBelowTheReadersDepth()
{
    QFETCH(QByteArray, text);
    QFETCH(int, depth);
    QCOMPARE(xmlNestingDepth(text.toStdString()), depth);
}

QTEST_GUILESS_MAIN(tst_XmlNesting)
#include "tst_xmlnesting.moc"
