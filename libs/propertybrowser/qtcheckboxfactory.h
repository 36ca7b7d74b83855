#pragma once

#include "qtabstracteditorfactory.h"
#include "qtboolpropertymanager.h"

#include <memory>

class QCheckBox;
namespace QtPropertyBrowserInternal {
template <class Manager, class Editor>
class EditorRegistry;
}

// Edits bool properties with a check box.
class QtCheckBoxFactory : public QtAbstractEditorFactory<QtBoolPropertyManager>
{
    Q_OBJECT

public:
    explicit QtCheckBoxFactory(QObject *parent = nullptr);
    ~QtCheckBoxFactory() override;

    using QtAbstractEditorFactory<QtBoolPropertyManager>::createEditor;

protected:
    void connectPropertyManager(QtBoolPropertyManager *manager) override;
    QWidget *createEditor(QtBoolPropertyManager *manager, QtProperty *property,
                          QWidget *parent) override;
    void disconnectPropertyManager(QtBoolPropertyManager *manager) override;

private:
    std::unique_ptr<QtPropertyBrowserInternal::EditorRegistry<QtBoolPropertyManager, QCheckBox>>
        m_editors;
};
