#pragma once

#include "qtabstractpropertymanager.h"

#include <memory>

class QStringList;

// Choice properties: the value is the index into the enum names, -1 while there are none.
class QtEnumPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtEnumPropertyManager(QObject *parent = nullptr);
    ~QtEnumPropertyManager() override;

    int value(const QtProperty *property) const;
    QStringList enumNames(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, int value);
    void enumNamesChanged(QtProperty *property, const QStringList &names);

public slots:
    // The index is clamped to the names; ignored while there are none.
    void setValue(QtProperty *property, int value);
    // Keeps the index where the new names allow it.
    void setEnumNames(QtProperty *property, const QStringList &names);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
