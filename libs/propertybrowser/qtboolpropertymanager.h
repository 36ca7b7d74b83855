#pragma once

#include "qtabstractpropertymanager.h"

#include <memory>

// Yes/no properties, shown as a check box with a caption for each state.
class QtBoolPropertyManager : public QtAbstractPropertyManager
{
    Q_OBJECT

public:
    explicit QtBoolPropertyManager(QObject *parent = nullptr);
    ~QtBoolPropertyManager() override;

    bool value(const QtProperty *property) const;
    QString trueText(const QtProperty *property) const;
    QString falseText(const QtProperty *property) const;

signals:
    void valueChanged(QtProperty *property, bool value);

public slots:
    void setValue(QtProperty *property, bool value);
    // Also replaces the captions of both states ("True" and "False" until then);
    // empty captions show the check box alone.
    void setValue(QtProperty *property, bool value, const QString &trueText,
                  const QString &falseText);

protected:
    QString valueText(const QtProperty *property) const override;
    QIcon valueIcon(const QtProperty *property) const override;
    void initializeProperty(QtProperty *property) override;
    void uninitializeProperty(QtProperty *property) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};
