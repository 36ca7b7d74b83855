#pragma once

#include "qtabstracteditorfactory.h"
#include "qtintpropertymanager.h"

#include <memory>

class QSpinBox;
namespace QtPropertyBrowserInternal {
template <class Manager, class Editor>
class EditorRegistry;
}

// Edits int properties with a spin box; a typed number takes effect on Enter or when focus leaves.
class QtSpinBoxFactory : public QtAbstractEditorFactory<QtIntPropertyManager>
{
    Q_OBJECT

public:
    explicit QtSpinBoxFactory(QObject *parent = nullptr);
    ~QtSpinBoxFactory() override;

    using QtAbstractEditorFactory<QtIntPropertyManager>::createEditor;

protected:
    void connectPropertyManager(QtIntPropertyManager *manager) override;
    QWidget *createEditor(QtIntPropertyManager *manager, QtProperty *property,
                          QWidget *parent) override;
    void disconnectPropertyManager(QtIntPropertyManager *manager) override;

private:
    std::unique_ptr<QtPropertyBrowserInternal::EditorRegistry<QtIntPropertyManager, QSpinBox>>
        m_editors;
};
