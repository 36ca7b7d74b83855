// Every text a user can see has a translation in every catalogue: lupdate, run over the
// sources into a copy of each catalogue, leaves no entry unfinished or empty.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct Catalogue
{
    QString tsFile;
    QStringList sourceFolders;
};

// Written by the build: per line a .ts file and the folders its texts come from.
QList<Catalogue> catalogues()
{
    QFile list(QStringLiteral(KR7D_CATALOGUE_LIST));
    QList<Catalogue> result;
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return result;
    const QStringList lines = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() > 1)
            result.append({fields.takeFirst(), fields});
    }
    return result;
}

// "context: source" of every message whose translation is unfinished or empty.
QStringList untranslated(QIODevice &ts)
{
    QStringList found;
    QXmlStreamReader xml(&ts);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringRef name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("source")) {
            source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            const bool unfinished = !xml.attributes().value(QLatin1String("type")).isEmpty();
            const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (unfinished || text.trimmed().isEmpty())
                found << context + QStringLiteral(": ") + source;
        }
    }
    if (xml.hasError())
        found << QStringLiteral("unreadable: ") + xml.errorString();
    return found;
}

} // namespace

class tst_Catalogues : public QObject
{
    Q_OBJECT

private slots:
    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
};

void tst_Catalogues::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("tsFile");
    QTest::addColumn<QStringList>("sourceFolders");
    int rows = 0;
    for (const Catalogue &catalogue : catalogues()) {
        // English is the texts' own language: what its catalogues leave out shows as written.
        if (catalogue.tsFile.endsWith(QLatin1String("_en.ts")))
            continue;
        QTest::newRow(qPrintable(catalogue.tsFile.section(QLatin1Char('/'), -1)))
            << catalogue.tsFile << catalogue.sourceFolders;
        ++rows;
    }
    QVERIFY2(rows >= 4, "the build listed too few catalogues");
}

void tst_Catalogues::everyTextIsTranslated()
{
    QFETCH(QString, tsFile);
    QFETCH(QStringList, sourceFolders);
    QTemporaryDir folder;
    const QString copy = folder.filePath(tsFile.section(QLatin1Char('/'), -1));
    QVERIFY(QFile::copy(tsFile, copy));
    QVERIFY(QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner));

    QProcess lupdate;
    lupdate.start(QStringLiteral(KR7D_LUPDATE),
                  QStringList{QStringLiteral("-locations"), QStringLiteral("none"),
                              QStringLiteral("-no-obsolete")}
                      + sourceFolders + QStringList{QStringLiteral("-ts"), copy});
    QVERIFY(lupdate.waitForFinished(60000));
    QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
             lupdate.readAllStandardError().constData());

    QFile updated(copy);
    QVERIFY(updated.open(QIODevice::ReadOnly));
    const QStringList missing = untranslated(updated);
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("untranslated in ") + tsFile + QStringLiteral(":\n")
                        + missing.join(QLatin1Char('\n'))));
}

QTEST_GUILESS_MAIN(tst_Catalogues)
#include "tst_catalogues.moc"
