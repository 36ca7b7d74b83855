#pragma once

#include "qtabstracteditorfactory.h"
#include "qtdoublepropertymanager.h"

#include <memory>

class QDoubleSpinBox;
namespace QtPropertyBrowserInternal {
template <class Manager, class Editor>
class EditorRegistry;
}

// Edits double properties with a double spin box; a typed number takes effect on Enter or when
// focus leaves.
class QtDoubleSpinBoxFactory : public QtAbstractEditorFactory<QtDoublePropertyManager>
{
    Q_OBJECT

public:
    explicit QtDoubleSpinBoxFactory(QObject *parent = nullptr);
    ~QtDoubleSpinBoxFactory() override;

    using QtAbstractEditorFactory<QtDoublePropertyManager>::createEditor;

protected:
    void connectPropertyManager(QtDoublePropertyManager *manager) override;
    QWidget *createEditor(QtDoublePropertyManager *manager, QtProperty *property,
                          QWidget *parent) override;
    void disconnectPropertyManager(QtDoublePropertyManager *manager) override;

private:
    std::unique_ptr<
        QtPropertyBrowserInternal::EditorRegistry<QtDoublePropertyManager, QDoubleSpinBox>>
        m_editors;
};
