#pragma once

#include <QTreeWidget>

#include <optional>
#include <vector>

namespace TGauge {

struct PluginLibrary;
struct PluginLoadResult;

// Where a sensor sits in the host's list of plug-ins.
struct SensorRef
{
    int plugin = -1;
    int sensor = -1;
};

// The catalogue: every plug-in with its sensors, and the libraries the host refused.
class CatalogueView final : public QTreeWidget
{
    Q_OBJECT
public:
    explicit CatalogueView(QWidget *parent = nullptr);

    // plugins are the accepted libraries in the order the host keeps them.
    void showCatalogue(const std::vector<PluginLibrary> &plugins,
                       const std::vector<PluginLoadResult> &refused);

    std::optional<SensorRef> selectedSensor() const;
    std::optional<SensorRef> sensorAt(const QTreeWidgetItem *item) const;

signals:
    void sensorActivated(const TGauge::SensorRef &sensor);

protected:
    void changeEvent(QEvent *event) override;

private:
    void retranslate();
};

} // namespace TGauge
