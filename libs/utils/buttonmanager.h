#pragma once

#include "utils_global.h"

#include <propertybrowser/qtpropertybrowser.h>

#include <QMap>
#include <QString>

namespace Utils {

// Properties shown as push buttons; a property's value is its caption.
class UTILS_EXPORT ButtonManager : public QtAbstractPropertyManager
{
    Q_OBJECT
public:
    explicit ButtonManager(QObject *parent = nullptr);
    ~ButtonManager() override;

    QString value(const QtProperty *property) const;

public slots:
    void setValue(QtProperty *property, const QString &caption);
    // What a click on the property's button does.
    void click(QtProperty *property);

signals:
    void valueChanged(QtProperty *property, const QString &caption);
    void buttonClicked(QtProperty *property);

protected:
    QString valueText(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    QMap<const QtProperty *, QString> m_captions;
};

} // namespace Utils
