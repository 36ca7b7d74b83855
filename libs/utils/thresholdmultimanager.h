#pragma once

#include "utils_global.h"

#include <QList>
#include <QObject>
#include <QPointer>

namespace Utils {

class ThresholdWindowWidget;

// Groups the threshold widgets of several plots that serve a number of
// switching outputs: makes them read-only together and reports every drop
// with the widget's component index.
class UTILS_EXPORT ThresholdMultiManager : public QObject
{
    Q_OBJECT
public:
    explicit ThresholdMultiManager(int outputs, QObject *parent = nullptr);
    ~ThresholdMultiManager() override;

    void setOutputs(int outputs); // negative counts as 0
    int outputs() const;

    void addWidget(ThresholdWindowWidget *widget); // not owned
    QList<ThresholdWindowWidget *> widgets() const;
    void setReadOnly(bool readOnly);

signals:
    void valueChanged(int componentIndex, unsigned int markIndex, double value);

private:
    int m_outputs = 0;
    QList<QPointer<ThresholdWindowWidget>> m_widgets;
};

} // namespace Utils
