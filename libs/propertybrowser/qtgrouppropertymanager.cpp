#include "qtgrouppropertymanager.h"

QtGroupPropertyManager::QtGroupPropertyManager(QObject *parent)
    : QtAbstractPropertyManager(parent)
{
}

QtGroupPropertyManager::~QtGroupPropertyManager() = default;

bool QtGroupPropertyManager::hasValue(const QtProperty *) const
{
    return false;
}

void QtGroupPropertyManager::initializeProperty(QtProperty *) {}
