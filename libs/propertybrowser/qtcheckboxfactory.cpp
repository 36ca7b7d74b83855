#include "qtcheckboxfactory.h"

#include "editorregistry_p.h"

#include <QCheckBox>

namespace {

void showBool(QCheckBox *editor, const QtBoolPropertyManager *manager, const QtProperty *property)
{
    editor->setChecked(manager->value(property));
    editor->setText(property->valueText());
}

} // namespace

QtCheckBoxFactory::QtCheckBoxFactory(QObject *parent)
    : QtAbstractEditorFactory<QtBoolPropertyManager>(parent)
    , m_editors(std::make_unique<
                QtPropertyBrowserInternal::EditorRegistry<QtBoolPropertyManager, QCheckBox>>(
          this, showBool))
{
}

QtCheckBoxFactory::~QtCheckBoxFactory() = default;

// The captions travel with propertyChanged only, so that is a change to show as well.
void QtCheckBoxFactory::connectPropertyManager(QtBoolPropertyManager *manager)
{
    m_editors->follow(manager, &QtBoolPropertyManager::valueChanged,
                      &QtAbstractPropertyManager::propertyChanged);
}

QWidget *QtCheckBoxFactory::createEditor(QtBoolPropertyManager *manager, QtProperty *property,
                                         QWidget *parent)
{
    auto *editor = m_editors->add(manager, property, new QCheckBox(parent));
    // Fills the value cell, so that a click anywhere in it toggles.
    editor->setAutoFillBackground(true);
    m_editors->writeOn(editor, &QCheckBox::toggled,
                       qOverload<QtProperty *, bool>(&QtBoolPropertyManager::setValue));
    return editor;
}

void QtCheckBoxFactory::disconnectPropertyManager(QtBoolPropertyManager *manager)
{
    m_editors->unfollow(manager);
}
