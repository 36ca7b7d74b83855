#pragma once

#include "qtabstractpropertymanager.h"

#include <memory>

class QRegularExpression;

// Text properties, optionally restricted to the texts a regular expression matches whole.
class QtStringPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtStringPropertyManager(QObject *parent = nullptr);
    ~QtStringPropertyManager() override;

    QString value(const QtProperty *property) const;
    QRegularExpression regExp(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, const QString &value);
    void regExpChanged(QtProperty *property, const QRegularExpression &regExp);

public slots:
    // A text the property's expression does not match is refused.
    void setValue(QtProperty *property, const QString &value);
    // Applies to later values; the current one is kept.
    void setRegExp(QtProperty *property, const QRegularExpression &regExp);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
