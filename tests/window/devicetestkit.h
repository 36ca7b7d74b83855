#pragma once

// What the window's communication tests share: masters to talk to and a hand for modal boxes.
#include <support/fakeconnection.h>
#include <support/modalhand.h>
#include <support/simulatedmaster.h>

#include <mastersimulator.h>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <optional>

// The frames of a log whose command byte is `command`.
inline QList<QByteArray> withCommand(const QList<QByteArray> &log, quint8 command)
{
    QList<QByteArray> found;
    for (const QByteArray &frame : log) {
        if (frame.size() > 2 && quint8(frame.at(2)) == command)
            found << frame;
    }
    return found;
}

// After QCoreApplication::exit() every event loop, also one started later, ends at once until the
// application's own loop has run: running it once lets a test go on after it quit the application.
inline void forgetQuit()
{
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
