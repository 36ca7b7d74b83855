#include "qtstringpropertymanager.h"

#include <QHash>
#include <QRegularExpression>

namespace {

struct StringValue
{
    QString value;
    QRegularExpression regExp;
};

// An empty expression allows any text; any other must match the text as a whole.
bool isAllowed(const QString &text, const QRegularExpression &regExp)
{
    if (regExp.pattern().isEmpty())
        return true;
    const QRegularExpression whole(QRegularExpression::anchoredPattern(regExp.pattern()),
                                   regExp.patternOptions());
    return whole.match(text).hasMatch();
}

} // namespace

class QtStringPropertyManager::Private
{
public:
    QHash<const QtProperty *, StringValue> values;
};

QtStringPropertyManager::QtStringPropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
    , d(std::make_unique<Private>())
{
}

QtStringPropertyManager::~QtStringPropertyManager()
{
    clear();
}

QString QtStringPropertyManager::value(const QtProperty *property) const
{
    return d->values.value(property).value;
}

QRegularExpression QtStringPropertyManager::regExp(const QtProperty *property) const
{
    return d->values.value(property).regExp;
}

void QtStringPropertyManager::setValue(QtProperty *property, const QString &value)
{
    const auto found = d->values.find(property);
    if (found == d->values.end() || found->value == value || !isAllowed(value, found->regExp))
        return;
    found->value = value;
    emit propertyChanged(property);
    emit valueChanged(property, value);
}

void QtStringPropertyManager::setRegExp(QtProperty *property, const QRegularExpression &regExp)
{
    const auto found = d->values.find(property);
    if (found == d->values.end() || found->regExp == regExp)
        return;
    found->regExp = regExp;
    emit regExpChanged(property, regExp);
}

QString QtStringPropertyManager::valueText(const QtProperty *property) const
{
    return value(property);
}

void QtStringPropertyManager::initializeProperty(QtProperty *property)
{
    d->values.insert(property, StringValue());
}

void QtStringPropertyManager::uninitializeProperty(QtProperty *property)
{
    d->values.remove(property);
}
