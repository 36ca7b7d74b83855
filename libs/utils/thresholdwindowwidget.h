#pragma once

#include "utils_global.h"

#include <QObject>

#include <memory>

class QwtPlot;

namespace Utils {

// A lower and an upper mark on a plot, drawn as horizontal lines that the
// user drags with the left mouse button. The plot owns the widget.
class UTILS_EXPORT ThresholdWindowWidget : public QObject
{
    Q_OBJECT
public:
    enum Mark : unsigned int { LowerMark = 0, UpperMark = 1 };

    ThresholdWindowWidget(QwtPlot *plot, int componentIndex);
    ~ThresholdWindowWidget() override;

    int getComponentIndex() const;

    // Move a mark without emitting emitValueChanged.
    void setLowerMark(double value);
    void setUpperMark(double value);
    double lowerMark() const;
    double upperMark() const;

    // A disabled mark is hidden and cannot be dragged.
    void enableLowerMark(bool enable);
    void enableUpperMark(bool enable);
    bool isLowerMarkEnabled() const;
    bool isUpperMarkEnabled() const;

    // The band between the marks is shaded.
    void setWindowSizeVisible(bool visible);
    // Without overlapping a dragged mark stops at the other one.
    void allowOverlapping(bool allow);
    void setReadOnly(bool readOnly);

signals:
    // The user dropped mark `markIndex` (0 lower, 1 upper) at `value`.
    void emitValueChanged(unsigned int markIndex, const double value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class Private;
    std::unique_ptr<Private> d;
};

} // namespace Utils
