#pragma once

#include "qtabstractpropertymanager.h"

// Properties without a value that only hold sub-properties; browsers show them as group headers.
class QtGroupPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtGroupPropertyManager(QObject *parent = nullptr);
    ~QtGroupPropertyManager() override;

protected:
    bool hasValue(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
};
