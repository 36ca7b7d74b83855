#include "sensorwindow.h"

#include "editsmuted.h"
#include "filledviewport.h"
#include "processdatatree.h"
#include "propertylookup.h"
#include "propertyvalues.h"
#include "sensorwindowdata.h"
#include "sharedicon.h"
#include "storagemanager.h"
#include "ui_sensorwindow.h"

#include <model/descriptionformat.h>
#include <model/parameterids.h>
#include <model/propertynode.h>
#include <plugin/descriptionfile.h>

#include <propertybrowser/qtbrowseritem.h>
#include <propertybrowser/qtpropertymanager.h>
#include <propertybrowser/qttreepropertybrowser.h>
#include <utils/buttonmanager.h>
#include <utils/genericchart.h>

#include <QAction>
#include <QDockWidget>
#include <QGridLayout>
#include <QIcon>
#include <QToolBar>
#include <QTreeWidget>

#include <boost/property_tree/ptree.hpp>

#include <array>

namespace BravoSensorPlugin {
namespace Core {

namespace {

using boost::property_tree::ptree;

// One value-change link between a property manager and the window.
template <class Manager, class Signal, class Slot>
void setLinked(Manager *manager, Signal signal, SensorWindow *window, Slot slot, bool linked)
{
    if (linked)
        QObject::connect(manager, signal, window, slot, Qt::UniqueConnection);
    else
        QObject::disconnect(manager, signal, window, slot);
}

QString categoryId(const ptree &category)
{
    return QString::fromStdString(category.get<std::string>("id", std::string()));
}

// How a row of the process-data panel starts out in its value column.
struct ProcessDataStart
{
    QString text;
    QString icon; // none when empty
    int size;     // of the size hint, square
};

} // namespace

bool SensorWindow::bBuildPropertyTree()
{
    data->rootProperty = data->groupManager->addProperty(windowTitle());
    data->rootProperty->setPropertyId(QStringLiteral("root"));
    data->hiddenPropertyIds.clear();

    // A missing or broken file leaves the tree empty, without a word to the user.
    if (auto description
        = readDescriptionFile(descriptionFilePath(), DescriptionFormat::skipComments))
        descriptionTree = std::move(description);
    const auto nodes = descriptionTree->get_child_optional(DescriptionFormat::parameterNodesPath);
    if (!nodes)
        return false;
    for (const auto &node : *nodes)
        vBuildPropertyNode(node.second, data->rootProperty);

    vApplySensorRange();
    if (data->chart)
        data->chart->setScale(0, data->pressureRangeMin, data->pressureRangeMax);
    return true;
}

void SensorWindow::showPropertyTree()
{
    // The browser already sits in the property dock, see createPropertyEditing().
    browser->addProperty(data->rootProperty);
    browser->setRootIsDecorated(true);
    browser->show();
}

void SensorWindow::vBuildPropertyNode(const ptree &node, QtProperty *parent)
{
    if (!parent)
        return;
    const std::optional<PropertyNode> description = readPropertyNode(node, data->language);
    if (!description)
        return;

    const ValueStorage storage = storageOf(description->type);
    QtProperty *property = addNodeProperty(data->manager(description->type), *description);
    if (storage != ValueStorage::None)
        parameterAddresses.insert(description->id, description->address);
    if (storage == ValueStorage::Text && !description->readOnlyText)
        itemTexts.insert(description->id, description->items);
    property->setEnabled(description->enabled);
    if (!description->enabled)
        readOnlyIds.insert(description->id);
    // Hidden properties are parameters like any other: attached, so that lookups, read-all,
    // write-all and settings files find them; the constructor hides their browser items.
    parent->addSubProperty(property);

    for (const auto &child : node) {
        if (child.first == "property")
            vBuildPropertyNode(child.second, property);
    }
    if (!description->visible)
        data->hiddenPropertyIds.append(description->id);
}

QtProperty *SensorWindow::findProperty(QtProperty *start, const QByteArray &id) const
{
    return Core::findProperty(start, id);
}

QList<QtProperty *> SensorWindow::allSubProperties(QtProperty *start) const
{
    return Core::allSubProperties(start);
}

// Detached, never deleted: the managers own the properties.
void SensorWindow::removeSubProperties(QtProperty *property)
{
    if (!property)
        return;
    while (!property->subProperties().isEmpty()) {
        QtProperty *first = property->subProperties().constFirst();
        removeSubProperties(first);
        property->removeSubProperty(first);
    }
}

void SensorWindow::propertyValueEdited(QtProperty *property, const QVariant &value)
{
    if (retranslating || !property || isReadOnlyParameter(property))
        return;
    pendingProperty = property;
    pendingValue = value;
    pendingEdits.record(property, value);
    markValuePending(property->propertyId());
    if (property->propertyId() == QLatin1String(ParameterIds::temperatureSettings)) {
        convertUnitDependentValues(previousUnitIndex);
        previousUnitIndex = value.toInt();
    }
    // Marks, units and outputs follow the edit at once, not only once it is written: that may
    // wait for a running sequence. A read still in device units sets them when it ends.
    if (!data->deviceValuesPending)
        applyUnitsAndOutputs(QString());
    sendTimer.start();
}

bool SensorWindow::isReadOnlyParameter(const QtProperty *property) const
{
    return readOnlyIds.contains(property->propertyId());
}

void SensorWindow::itemSelected(QtBrowserItem *item)
{
    if (item)
        pendingProperty = item->property();
}

// The int, double, enum and button slots keep value handling off while they run, so that
// what the write step changes (limits, units) does not come back as another edit.
void SensorWindow::intValueChanged(QtProperty *property, int value)
{
    const EditsMuted muted(*this);
    propertyValueEdited(property, value);
}

void SensorWindow::doubleValueChanged(QtProperty *property, double value)
{
    const EditsMuted muted(*this);
    propertyValueEdited(property, value);
}

void SensorWindow::boolValueChanged(QtProperty *property, bool value)
{
    propertyValueEdited(property, value);
}

void SensorWindow::stringValueChanged(QtProperty *property, const QString &value)
{
    pendingProperty = property;
    propertyValueEdited(property, value);
}

void SensorWindow::enumValueChanged(QtProperty *property, int value)
{
    intValueChanged(property, value);
}

void SensorWindow::buttonClicked(QtProperty *property)
{
    const EditsMuted muted(*this);
    propertyValueEdited(property, QString());
}

void SensorWindow::enableTreeDataHandling(bool enabled)
{
    data->treeDataHandling = enabled;
    linkEdits(enabled, false);
}

// Never switched on by the window itself, so edits of text properties are not written.
void SensorWindow::enableStringManagerHandling(bool enabled)
{
    linkEdits(enabled, true);
}

void SensorWindow::linkEdits(bool linked, bool texts)
{
    for (const ParameterKindRow &row : parameterKinds) {
        QtAbstractPropertyManager *manager = data->manager(row.kind);
        if (!manager || (row.storage == ValueStorage::Text) != texts)
            continue;
        switch (row.storage) {
        case ValueStorage::Truth:
            setLinked(storageManager<ValueStorage::Truth>(manager),
                      &QtBoolPropertyManager::valueChanged, this, &SensorWindow::boolValueChanged,
                      linked);
            break;
        case ValueStorage::Whole:
            setLinked(storageManager<ValueStorage::Whole>(manager),
                      &QtIntPropertyManager::valueChanged, this, &SensorWindow::intValueChanged,
                      linked);
            break;
        case ValueStorage::Decimal:
            setLinked(storageManager<ValueStorage::Decimal>(manager),
                      &QtDoublePropertyManager::valueChanged, this,
                      &SensorWindow::doubleValueChanged, linked);
            break;
        case ValueStorage::Choice:
            setLinked(storageManager<ValueStorage::Choice>(manager),
                      &QtEnumPropertyManager::valueChanged, this, &SensorWindow::enumValueChanged,
                      linked);
            break;
        case ValueStorage::Button:
            setLinked(storageManager<ValueStorage::Button>(manager),
                      &Utils::ButtonManager::buttonClicked, this, &SensorWindow::buttonClicked,
                      linked);
            break;
        case ValueStorage::Text:
            setLinked(storageManager<ValueStorage::Text>(manager),
                      &QtStringPropertyManager::valueChanged, this,
                      &SensorWindow::stringValueChanged, linked);
            break;
        case ValueStorage::None:
            break;
        }
    }
}

void SensorWindow::comboIndexChangedString(QString text)
{
    if (!pendingProperty)
        return;
    if (QtProperty *property
        = findProperty(data->rootProperty, pendingProperty->propertyId().toLatin1()))
        data->stringManager->setValue(property, text);
}

void SensorWindow::comboIndexChangedInt(int index)
{
    propertyValueEdited(pendingProperty, index);
}

void SensorWindow::vCreateProcessDataDock()
{
    auto *dock = new QDockWidget(tr(" Process data"));
    data->processDataDock = dock;
    dock->setObjectName(QStringLiteral("processdata"));
    dock->setAllowedAreas(Qt::AllDockWidgetAreas);
    dock->setStyleSheet(QStringLiteral("QWidget {border: 1px solid lightgray;}"));
    QAction *toggle = dock->toggleViewAction();
    toggle->setIcon(sharedIcon(QStringLiteral(":/newPrefix/icons/Sensorenliste.svg")));
    ui->fileToolBar->addAction(toggle);
    // In the window before its contents exist: a built subtree moved under the window's style
    // sheet is styled a second time. Here, after the tool button, the focus order stays the same.
    dock->setParent(this);

    auto *panel = new QWidget(dock);
    auto *layout = new QGridLayout(panel);
    layout->setContentsMargins(0, 0, 1, 0);
    auto *tree = new ProcessDataTree(panel);
    data->processDataTree = tree;
    tree->setAlternatingRowColors(true);
    tree->setColumnCount(2);
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(32, 32));
    tree->setFrameShadow(QFrame::Plain);
    tree->setSelectionMode(QAbstractItemView::NoSelection);
    tree->setItemsExpandable(true);

    // Process-data polling keeps rows 0..4 up to date: output A1, output A2, signal, temperature,
    // pressure.
    const std::array<ProcessDataStart, 5> starts = {{
        {tr("Off"), QStringLiteral(":/newPrefix/icons/led_state_1_1.svg"), 40},
        {tr("Off"), QStringLiteral(":/newPrefix/icons/led_state_1_2.svg"), 40},
        {tr("OK"), QStringLiteral(":/newPrefix/icons/Check_box_galben_Negru_mare.svg"), 40},
        {QStringLiteral(" 0"), QString(), 32},
        {QStringLiteral(" 0"), QString(), 32},
    }};
    data->categoryCaptions.clear();
    if (const auto categories
        = descriptionTree->get_child_optional(DescriptionFormat::categoryNodesPath)) {
        for (const auto &category : *categories) {
            const int row = data->processDataItems.size();
            vAddCategoryCaption(category.second, row);
            auto *item = new QTreeWidgetItem(tree);
            data->processDataItems.append(item);
            item->setHidden(category.second.get<std::string>("visible", "true") != "true");
            item->setText(0, data->categoryCaptions.constLast() + QLatin1String("     "));
            item->setStatusTip(0, categoryId(category.second));
            if (row < int(starts.size())) {
                const ProcessDataStart &start = starts[row];
                item->setText(1, start.text);
                if (!start.icon.isEmpty())
                    item->setIcon(1, sharedIcon(start.icon));
                item->setSizeHint(1, QSize(start.size, start.size));
            }
        }
    }

    tree->resizeColumnToContents(0);
    // Every shown row in sight without scrolling: the dock asks for the height of all of them.
    int rowsHeight = 0;
    for (const QTreeWidgetItem *item : qAsConst(data->processDataItems)) {
        if (!item->isHidden())
            rowsHeight += qMax(item->sizeHint(1).height(), tree->fontMetrics().height() + 4);
    }
    tree->setMinimumHeight(rowsHeight + 2 * tree->frameWidth());
    // Polls change rows many times a second: they repaint the rows only.
    new FilledViewport(tree);
    layout->addWidget(tree, 0, 0, 1, 4);
    dock->setWidget(panel);
    dock->installEventFilter(this);
    dock->setMinimumWidth(280);
    addDockWidget(Qt::RightDockWidgetArea, dock);
}

void SensorWindow::vRetranslatePropertyNode(const ptree &node)
{
    if (node.empty())
        return;
    QtProperty *property = findProperty(data->rootProperty,
                                        QByteArray::fromStdString(node.get<std::string>("id", "")));
    if (!property)
        return;
    property->setPropertyName(nodeCaption(node, data->language));
    const std::optional<PropertyNode> description = readPropertyNode(node, data->language);
    switch (description ? storageOf(description->type) : ValueStorage::None) {
    case ValueStorage::Button:
        managerOf<ValueStorage::Button>(property)->setValue(property, description->text);
        break;
    case ValueStorage::Choice: {
        auto *choices = managerOf<ValueStorage::Choice>(property);
        const int index = choices->value(property);
        choices->setEnumNames(property, description->items);
        choices->setValue(property, index);
        break;
    }
    case ValueStorage::Text: {
        if (description->readOnlyText)
            break;
        // A chosen item stays the item at the same position; a free text stays as it is.
        auto *texts = managerOf<ValueStorage::Text>(property);
        const QString id = property->propertyId();
        const int position = itemTexts.value(id).indexOf(texts->value(property));
        itemTexts.insert(id, description->items);
        if (position >= 0)
            texts->setValue(property, description->items.value(position));
        break;
    }
    case ValueStorage::None:
    case ValueStorage::Whole:
    case ValueStorage::Decimal:
    case ValueStorage::Truth:
        break;
    }
    for (const auto &child : node) {
        if (child.first == "property")
            vRetranslatePropertyNode(child.second);
    }
}

void SensorWindow::retranslateDescriptionTexts()
{
    if (const auto nodes
        = descriptionTree->get_child_optional(DescriptionFormat::parameterNodesPath)) {
        for (const auto &node : *nodes)
            vRetranslatePropertyNode(node.second);
    }
    const auto categories
        = descriptionTree->get_child_optional(DescriptionFormat::categoryNodesPath);
    if (!categories || data->processDataItems.isEmpty())
        return;
    data->categoryCaptions.clear();
    for (const auto &category : *categories)
        vAddCategoryCaption(category.second, -1);
    for (int row = 0; row < data->processDataItems.size(); ++row)
        data->processDataItems.at(row)->setText(0, data->categoryCaptions.value(row)
                                                       + QLatin1String("     "));
    const QString idleTexts[] = {tr("Off"), tr("Off"), tr("No")};
    for (int row = 0; row < 3 && row < data->processDataItems.size(); ++row)
        data->processDataItems.at(row)->setText(1, idleTexts[row]);
    data->processDataTree->resizeColumnToContents(0);
}

void SensorWindow::vAddCategoryCaption(const ptree &category, int row)
{
    if (data->language.empty())
        data->language = "en";
    data->categoryCaptions.append(nodeCaption(category, data->language));
    if (row >= 0)
        data->categoryRows.insert(categoryId(category), row);
}

} // namespace Core
} // namespace BravoSensorPlugin
