#pragma once

#include "qtabstractpropertymanager.h"

#include <memory>

// Decimal properties; a value always lies within its property's range. Decimals
// say how many places editors and the value text show, the value itself is kept whole.
class QtDoublePropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtDoublePropertyManager(QObject *parent = nullptr);
    ~QtDoublePropertyManager() override;

    double value(const QtProperty *property) const;
    double minimum(const QtProperty *property) const;
    double maximum(const QtProperty *property) const;
    double singleStep(const QtProperty *property) const;
    int decimals(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, double value);
    void rangeChanged(QtProperty *property, double minimum, double maximum);
    void singleStepChanged(QtProperty *property, double step);
    void decimalsChanged(QtProperty *property, int decimals);

public slots:
    void setValue(QtProperty *property, double value);
    // A minimum above the maximum raises the maximum, and the other way round.
    void setMinimum(QtProperty *property, double minimum);
    void setMaximum(QtProperty *property, double maximum);
    // A maximum below the minimum leaves the minimum as the only value.
    void setRange(QtProperty *property, double minimum, double maximum);
    void setSingleStep(QtProperty *property, double step);
    // Limited to 0..13, as a double spin box would.
    void setDecimals(QtProperty *property, int decimals);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
