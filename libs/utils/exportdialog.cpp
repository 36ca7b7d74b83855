#include "exportdialog.h"

#include "csvexport.h"
#include "valueovertime.h"

#include <QCheckBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

namespace Utils {

class ExportDialog::Private
{
public:
    QCheckBox *addChoice(QWidget *parent, QHBoxLayout *layout, const QString &text,
                         const QString &objectName)
    {
        auto *box = new QCheckBox(text, parent);
        box->setObjectName(objectName);
        layout->addWidget(box);
        return box;
    }

    CsvDelimiterChoice choice() const
    {
        CsvDelimiterChoice choice;
        choice.tab = tab->isChecked();
        choice.comma = comma->isChecked();
        choice.semicolon = semicolon->isChecked();
        choice.space = space->isChecked();
        choice.other = other->isChecked();
        choice.otherText = otherText->text();
        return choice;
    }

    QByteArray csv(int maxSamples, const CsvProgress &progress = {}) const
    {
        return csvText(series ? *series : QList<const ValueOverTime *>(),
                       names ? *names : QList<QString>(), choice().text(), precision, maxSamples,
                       progress);
    }

    QList<const ValueOverTime *> *series = nullptr; // not owned
    QList<QString> *names = nullptr;                // not owned
    int precision = 2;
    // All owned by the dialog.
    QCheckBox *tab = nullptr;
    QCheckBox *comma = nullptr;
    QCheckBox *semicolon = nullptr;
    QCheckBox *space = nullptr;
    QCheckBox *other = nullptr;
    QLineEdit *otherText = nullptr;
    QPlainTextEdit *preview = nullptr;
    QLineEdit *file = nullptr;
    QDialogButtonBox *buttons = nullptr;
};

ExportDialog::ExportDialog(QList<const ValueOverTime *> *series, QList<QString> *names,
                           QWidget *parent, Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , d(std::make_unique<Private>())
{
    d->series = series;
    d->names = names;

    setWindowTitle(tr("Export chart data"));
    auto *layout = new QVBoxLayout(this);

    auto *delimiterBox = new QGroupBox(tr("Delimiter"), this);
    auto *delimiterLayout = new QHBoxLayout(delimiterBox);
    d->tab = d->addChoice(delimiterBox, delimiterLayout, tr("Tab"), QStringLiteral("tabCheckBox"));
    d->comma
        = d->addChoice(delimiterBox, delimiterLayout, tr("Comma"), QStringLiteral("commaCheckBox"));
    d->semicolon = d->addChoice(delimiterBox, delimiterLayout, tr("Semicolon"),
                                QStringLiteral("semicolonCheckBox"));
    d->space
        = d->addChoice(delimiterBox, delimiterLayout, tr("Space"), QStringLiteral("spaceCheckBox"));
    d->other = d->addChoice(delimiterBox, delimiterLayout, tr("Other:"),
                            QStringLiteral("otherCheckBox"));
    d->otherText = new QLineEdit(delimiterBox);
    d->otherText->setObjectName(QStringLiteral("otherLineEdit"));
    d->otherText->setMaximumWidth(60);
    delimiterLayout->addWidget(d->otherText);
    delimiterLayout->addStretch();
    d->semicolon->setChecked(true);
    layout->addWidget(delimiterBox);

    auto *previewBox = new QGroupBox(tr("Preview"), this);
    auto *previewLayout = new QVBoxLayout(previewBox);
    d->preview = new QPlainTextEdit(previewBox);
    d->preview->setObjectName(QStringLiteral("previewEdit"));
    d->preview->setReadOnly(true);
    d->preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    d->preview->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    previewLayout->addWidget(d->preview);
    layout->addWidget(previewBox, 1);

    auto *fileLayout = new QHBoxLayout;
    d->file = new QLineEdit(this);
    d->file->setObjectName(QStringLiteral("fileLineEdit"));
    d->file->setPlaceholderText(tr("Choose the file to write"));
    auto *browse = new QPushButton(tr("Browse..."), this);
    browse->setObjectName(QStringLiteral("browseButton"));
    fileLayout->addWidget(d->file, 1);
    fileLayout->addWidget(browse);
    auto *form = new QFormLayout;
    form->addRow(tr("File:"), fileLayout);
    layout->addLayout(form);

    d->buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    d->buttons->setObjectName(QStringLiteral("buttonBox"));
    d->buttons->button(QDialogButtonBox::Ok)->setText(tr("Export"));
    layout->addWidget(d->buttons);

    for (QCheckBox *box : {d->tab, d->comma, d->semicolon, d->space, d->other})
        connect(box, &QCheckBox::toggled, this, &ExportDialog::vDelimiterUpdated);
    connect(d->otherText, &QLineEdit::textChanged, this, &ExportDialog::vDelimiterUpdated);
    connect(browse, &QPushButton::clicked, this, &ExportDialog::vSelectFileDialog);
    const auto updateAccept = [this](const QString &path) {
        d->buttons->button(QDialogButtonBox::Ok)->setEnabled(!path.trimmed().isEmpty());
    };
    connect(d->file, &QLineEdit::textChanged, this, updateAccept);
    connect(d->buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(d->buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::finished, this, &ExportDialog::vFinished);

    updateAccept(QString());
    vDelimiterUpdated();
    resize(560, 420);
}

ExportDialog::~ExportDialog() = default;

void ExportDialog::setPrecision(int decimals)
{
    d->precision = std::max(decimals, 0);
    vDelimiterUpdated();
}

QString ExportDialog::delimiter() const
{
    return d->choice().text();
}

QString ExportDialog::filePath() const
{
    return d->file->text().trimmed();
}

QString ExportDialog::proposedFileName()
{
    return QStringLiteral("export-") + QDate::currentDate().toString(QStringLiteral("dd-MM-yyyy"))
           + QStringLiteral(".csv");
}

void ExportDialog::vDelimiterUpdated()
{
    d->preview->setPlainText(QString::fromUtf8(d->csv(previewSamples)));
}

void ExportDialog::vSelectFileDialog()
{
    const QString current = filePath();
    const QString start = current.isEmpty()
                              ? proposedFileName()
                              : QFileInfo(current).absoluteDir().filePath(proposedFileName());
    const QString path
        = QFileDialog::getSaveFileName(this, tr("Save As..."), start, QStringLiteral("*.csv"));
    if (!path.isEmpty())
        d->file->setText(path);
}

void ExportDialog::vFinished(int state)
{
    if (state != QDialog::Accepted || filePath().isEmpty())
        return;
    // A day of samples takes a few seconds: show how far it got once it takes noticeably long.
    QProgressDialog progressDialog(tr("Exporting chart data..."), tr("Cancel"), 0, 0,
                                   parentWidget());
    progressDialog.setObjectName(QStringLiteral("exportProgressDialog"));
    progressDialog.setWindowModality(Qt::WindowModal);
    progressDialog.setMinimumDuration(progressDelayMs);
    const QByteArray text = d->csv(-1, [&progressDialog](int done, int total) {
        progressDialog.setMaximum(total);
        progressDialog.setValue(done);
        return !progressDialog.wasCanceled();
    });
    if (!text.isEmpty())
        writeFileAtomically(filePath(), text);
}

} // namespace Utils
