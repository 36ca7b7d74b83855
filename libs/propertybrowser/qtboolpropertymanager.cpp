#include "qtboolpropertymanager.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QStyle>
#include <QStyleOptionButton>

namespace {

struct BoolValue
{
    bool value = false;
    QString trueText = QtBoolPropertyManager::tr("True");
    QString falseText = QtBoolPropertyManager::tr("False");
};

// The look of an unchecked or checked check box, drawn by the current style.
QIcon checkBoxIcon(bool checked)
{
    QStyleOptionButton option;
    option.state = QStyle::State_Enabled | (checked ? QStyle::State_On : QStyle::State_Off);
    const QStyle *style = QApplication::style();
    option.rect = QRect(0, 0, style->pixelMetric(QStyle::PM_IndicatorWidth),
                        style->pixelMetric(QStyle::PM_IndicatorHeight));
    QPixmap pixmap(option.rect.size());
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter);
    return QIcon(pixmap);
}

} // namespace

class QtBoolPropertyManager::Private
{
public:
    QHash<const QtProperty *, BoolValue> values;
    mutable QIcon checkedIcon;
    mutable QIcon uncheckedIcon;
};

QtBoolPropertyManager::QtBoolPropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
    , d(std::make_unique<Private>())
{
}

QtBoolPropertyManager::~QtBoolPropertyManager()
{
    clear();
}

bool QtBoolPropertyManager::value(const QtProperty *property) const
{
    return d->values.value(property).value;
}

QString QtBoolPropertyManager::trueText(const QtProperty *property) const
{
    return d->values.value(property).trueText;
}

QString QtBoolPropertyManager::falseText(const QtProperty *property) const
{
    return d->values.value(property).falseText;
}

void QtBoolPropertyManager::setValue(QtProperty *property, bool value)
{
    const auto found = d->values.constFind(property);
    if (found != d->values.cend())
        setValue(property, value, found->trueText, found->falseText);
}

void QtBoolPropertyManager::setValue(QtProperty *property, bool value, const QString &trueText,
                                     const QString &falseText)
{
    const auto found = d->values.find(property);
    if (found == d->values.end())
        return;
    const bool valueChanges = found->value != value;
    if (!valueChanges && found->trueText == trueText && found->falseText == falseText)
        return;
    *found = BoolValue{value, trueText, falseText};
    emit propertyChanged(property);
    if (valueChanges)
        emit valueChanged(property, value);
}

QString QtBoolPropertyManager::valueText(const QtProperty *property) const
{
    const BoolValue state = d->values.value(property);
    return state.value ? state.trueText : state.falseText;
}

QIcon QtBoolPropertyManager::valueIcon(const QtProperty *property) const
{
    QIcon &icon = value(property) ? d->checkedIcon : d->uncheckedIcon;
    if (icon.isNull())
        icon = checkBoxIcon(value(property));
    return icon;
}

void QtBoolPropertyManager::initializeProperty(QtProperty *property)
{
    d->values.insert(property, BoolValue());
}

void QtBoolPropertyManager::uninitializeProperty(QtProperty *property)
{
    d->values.remove(property);
}
