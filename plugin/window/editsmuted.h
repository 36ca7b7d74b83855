#pragma once

#include <QPointer>

namespace BravoSensorPlugin {
namespace Core {

class SensorWindow;

// Values the window sets itself are no edits: for the life of the object the property managers'
// value signals do not reach the window; then they reach it again if they did before, however
// the scope is left. Keep a wait out of the scope: an edit made during it would be lost.
class EditsMuted final
{
public:
    explicit EditsMuted(SensorWindow &window);
    ~EditsMuted();
    EditsMuted(const EditsMuted &) = delete;
    EditsMuted &operator=(const EditsMuted &) = delete;

private:
    QPointer<SensorWindow> m_window; // a window deleted meanwhile is left alone
    bool m_wasHandling;
};

} // namespace Core
} // namespace BravoSensorPlugin
