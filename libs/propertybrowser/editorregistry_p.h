#pragma once

#include "qtabstracteditorfactory.h"
#include "qtabstractpropertymanager.h"
#include "qtproperty.h"

#include <QHash>
#include <QList>
#include <QSignalBlocker>

namespace QtPropertyBrowserInternal {

// The editors one factory made, per property. Keeps them showing their property's
// value and enabled state, and turns a user's change into a manager call.
template <class Manager, class Editor>
class EditorRegistry
{
public:
    // Puts the manager's state of the property into the editor; called with the editor's signals
    // blocked.
    using Show = void (*)(Editor *editor, const Manager *manager, const QtProperty *property);

    EditorRegistry(QtAbstractEditorFactory<Manager> *factory, Show show)
        : m_factory(factory)
        , m_show(show)
    {
    }

    // The editor shows the property from now on; it is forgotten when destroyed.
    Editor *add(Manager *manager, QtProperty *property, Editor *editor)
    {
        m_editors[property].append(editor);
        m_properties.insert(editor, property);
        editor->setEnabled(property->isEnabled());
        show(editor, manager, property);
        QObject::connect(editor, &QObject::destroyed, m_factory,
                         [this, editor] { forgetEditor(editor); });
        return editor;
    }

    // Follows the manager: the enabled state and deletion of its properties, and each of
    // the given signals (all starting with the property) as a change to show.
    template <class... Signals>
    void follow(Manager *manager, Signals... changeSignals)
    {
        QObject::connect(manager, &QtAbstractPropertyManager::propertyChanged, m_factory,
                         [this](QtProperty *property) {
                             for (Editor *editor : m_editors.value(property))
                                 editor->setEnabled(property->isEnabled());
                         });
        QObject::connect(manager, &QtAbstractPropertyManager::propertyDestroyed, m_factory,
                         [this](QtProperty *property) { forgetProperty(property); });
        (QObject::connect(manager, changeSignals, m_factory,
                          [this, manager](QtProperty *property) { showAll(manager, property); }),
         ...);
    }

    void unfollow(Manager *manager) { QObject::disconnect(manager, nullptr, m_factory, nullptr); }

    // Writes every value the editor's signal carries through the manager's setter.
    template <class Sender, class Value, class Argument>
    void writeOn(Editor *editor, void (Sender::*changed)(Value),
                 void (Manager::*set)(QtProperty *, Argument))
    {
        QObject::connect(editor, changed, m_factory, [this, editor, set](Value value) {
            commit(editor, [set, value](Manager *manager, QtProperty *property) {
                (manager->*set)(property, value);
            });
        });
    }

    // The user changed the editor: write is called with the manager and property unless the
    // property is disabled. The editor then shows the manager's value again, so that a refused
    // or clamped change does not linger in it.
    template <class Write>
    void commit(Editor *editor, Write write) const
    {
        QtProperty *property = m_properties.value(editor);
        Manager *manager = m_factory->propertyManager(property);
        if (!manager)
            return;
        if (property->isEnabled())
            write(manager, property);
        show(editor, manager, property);
    }

private:
    void show(Editor *editor, const Manager *manager, const QtProperty *property) const
    {
        const QSignalBlocker blocker(editor);
        m_show(editor, manager, property);
    }

    void showAll(const Manager *manager, QtProperty *property) const
    {
        for (Editor *editor : m_editors.value(property))
            show(editor, manager, property);
    }

    // Called while the editor is destroyed: its address is only a key here.
    void forgetEditor(Editor *editor)
    {
        QtProperty *property = m_properties.take(editor);
        const auto editors = m_editors.find(property);
        if (editors == m_editors.end())
            return;
        editors->removeOne(editor);
        if (editors->isEmpty())
            m_editors.erase(editors);
    }

    // The editors stay alive but no longer edit anything.
    void forgetProperty(QtProperty *property)
    {
        for (Editor *editor : m_editors.take(property))
            m_properties.remove(editor);
    }

    QtAbstractEditorFactory<Manager> *m_factory; // not owned
    Show m_show;
    QHash<QtProperty *, QList<Editor *>> m_editors;   // editors not owned
    QHash<const Editor *, QtProperty *> m_properties; // not owned
};

} // namespace QtPropertyBrowserInternal
