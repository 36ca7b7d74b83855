#include "catalogueview.h"

#include "pluginloader.h"

#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace TGauge {

namespace {

constexpr int pluginRole = Qt::UserRole;
constexpr int sensorRole = Qt::UserRole + 1;

} // namespace

CatalogueView::CatalogueView(QWidget *parent)
    : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("catalogueView"));
    retranslate();
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setRootIsDecorated(true);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (const auto sensor = sensorAt(item))
            emit sensorActivated(*sensor);
    });
}

void CatalogueView::showCatalogue(const std::vector<PluginLibrary> &plugins,
                                  const std::vector<PluginLoadResult> &refused)
{
    clear();
    for (int p = 0; p < int(plugins.size()); ++p) {
        const PluginLibrary &plugin = plugins[size_t(p)];
        auto pluginItem = new QTreeWidgetItem(
            this, {plugin.name, // owned by the view
                   plugin.version + QStringLiteral(", ") + plugin.communicationType});
        pluginItem->setToolTip(0, plugin.description);
        pluginItem->setToolTip(1, plugin.filePath);
        for (int s = 0; s < int(plugin.sensors.size()); ++s) {
            const auto &sensor = plugin.sensors[size_t(s)];
            auto sensorItem
                = new QTreeWidgetItem(pluginItem, {QString::fromStdString(sensor.name()),
                                                   QString::fromStdString(sensor.id())});
            sensorItem->setData(0, pluginRole, p);
            sensorItem->setData(0, sensorRole, s);
        }
        pluginItem->setExpanded(true);
    }
    const QIcon refusedIcon = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const PluginLoadResult &refusal : refused) {
        auto refusedItem
            = new QTreeWidgetItem(this, {QFileInfo(refusal.filePath).fileName(), refusal.error});
        refusedItem->setIcon(0, refusedIcon);
        refusedItem->setToolTip(0, tr("Refused: %1").arg(refusal.filePath));
        refusedItem->setToolTip(1, refusal.error);
    }
}

void CatalogueView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QTreeWidget::changeEvent(event);
}

void CatalogueView::retranslate()
{
    setHeaderLabels({tr("Sensor"), tr("Details")});
}

std::optional<SensorRef> CatalogueView::selectedSensor() const
{
    return sensorAt(currentItem());
}

std::optional<SensorRef> CatalogueView::sensorAt(const QTreeWidgetItem *item) const
{
    if (!item || !item->data(0, sensorRole).isValid())
        return std::nullopt;
    return SensorRef{item->data(0, pluginRole).toInt(), item->data(0, sensorRole).toInt()};
}

} // namespace TGauge
