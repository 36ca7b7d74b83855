#pragma once

namespace Utils {

// A plot item that clears the pointer its owner keeps to it when it dies.
// A plot deletes its items before its child objects, so an object living
// under the plot can tell whether its items still exist.
template <class Item>
class GuardedPlotItem final : public Item
{
public:
    explicit GuardedPlotItem(Item **slot)
        : m_slot(slot)
    {
        *slot = this;
    }
    ~GuardedPlotItem() override { *m_slot = nullptr; }

    GuardedPlotItem(const GuardedPlotItem &) = delete;
    GuardedPlotItem &operator=(const GuardedPlotItem &) = delete;

private:
    Item **m_slot; // not owned
};

} // namespace Utils
