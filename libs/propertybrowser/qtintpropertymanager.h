#pragma once

#include "qtabstractpropertymanager.h"

#include <memory>

// Whole-number properties; a value always lies within its property's range.
class QtIntPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtIntPropertyManager(QObject *parent = nullptr);
    ~QtIntPropertyManager() override;

    int value(const QtProperty *property) const;
    int minimum(const QtProperty *property) const;
    int maximum(const QtProperty *property) const;
    int singleStep(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, int value);
    void rangeChanged(QtProperty *property, int minimum, int maximum);
    void singleStepChanged(QtProperty *property, int step);

public slots:
    void setValue(QtProperty *property, int value);
    // A minimum above the maximum raises the maximum, and the other way round.
    void setMinimum(QtProperty *property, int minimum);
    void setMaximum(QtProperty *property, int maximum);
    // A maximum below the minimum leaves the minimum as the only value.
    void setRange(QtProperty *property, int minimum, int maximum);
    void setSingleStep(QtProperty *property, int step);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
