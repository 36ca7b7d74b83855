#pragma once

#include <QHash>
#include <QtGlobal>

#include <limits>

class QtProperty;

namespace QtPropertyBrowserInternal {

// A number kept inside a range, with the step an editor moves it by.
template <class T>
class BoundedValue
{
public:
    T value() const { return m_value; }
    T minimum() const { return m_minimum; }
    T maximum() const { return m_maximum; }
    T singleStep() const { return m_singleStep; }

    // Clamps into the range; true when the stored value changed.
    bool setValue(T value)
    {
        const T bounded = qBound(m_minimum, value, m_maximum);
        if (bounded == m_value)
            return false;
        m_value = bounded;
        return true;
    }

    // A maximum below the minimum leaves the minimum as the only value;
    // true when the range changed. The value is clamped into the new range.
    bool setRange(T minimum, T maximum)
    {
        maximum = qMax(minimum, maximum);
        if (minimum == m_minimum && maximum == m_maximum)
            return false;
        m_minimum = minimum;
        m_maximum = maximum;
        m_value = qBound(m_minimum, m_value, m_maximum);
        return true;
    }

    bool setSingleStep(T step)
    {
        if (step == m_singleStep)
            return false;
        m_singleStep = step;
        return true;
    }

private:
    T m_value = 0;
    T m_minimum = std::numeric_limits<T>::lowest();
    T m_maximum = std::numeric_limits<T>::max();
    T m_singleStep = 1;
};

// The bounded values of a manager's properties. Every change reports what moved,
// so that the manager announces exactly that.
template <class T>
class BoundedValues
{
public:
    enum Change { Unchanged = 0, RangeChanged = 1, StepChanged = 2, ValueChanged = 4 };

    void add(const QtProperty *property) { m_values.insert(property, BoundedValue<T>()); }
    void remove(const QtProperty *property) { m_values.remove(property); }
    // Defaults for a property that is not known.
    BoundedValue<T> get(const QtProperty *property) const { return m_values.value(property); }

    int setValue(const QtProperty *property, T value)
    {
        return change(property, [value](BoundedValue<T> &bounded) {
            return bounded.setValue(value) ? ValueChanged : Unchanged;
        });
    }

    int setRange(const QtProperty *property, T minimum, T maximum)
    {
        return change(property, [minimum, maximum](BoundedValue<T> &bounded) {
            const T before = bounded.value();
            if (!bounded.setRange(minimum, maximum))
                return int(Unchanged);
            return bounded.value() == before ? RangeChanged : RangeChanged | ValueChanged;
        });
    }

    int setSingleStep(const QtProperty *property, T step)
    {
        return change(property, [step](BoundedValue<T> &bounded) {
            return bounded.setSingleStep(step) ? StepChanged : Unchanged;
        });
    }

private:
    template <class Change>
    int change(const QtProperty *property, Change apply)
    {
        const auto found = m_values.find(property);
        return found == m_values.end() ? int(Unchanged) : int(apply(*found));
    }

    QHash<const QtProperty *, BoundedValue<T>> m_values;
};

// Emits the signals of an int or double manager for the changes reported above.
template <class Manager, class T>
void announceChanges(Manager *manager, QtProperty *property, const BoundedValues<T> &values,
                     int changes)
{
    const BoundedValue<T> bounded = values.get(property);
    if (changes & BoundedValues<T>::RangeChanged)
        emit manager->rangeChanged(property, bounded.minimum(), bounded.maximum());
    if (changes & BoundedValues<T>::StepChanged)
        emit manager->singleStepChanged(property, bounded.singleStep());
    if (changes & BoundedValues<T>::ValueChanged) {
        emit manager->propertyChanged(property);
        emit manager->valueChanged(property, bounded.value());
    }
}

} // namespace QtPropertyBrowserInternal
