#pragma once

#include <simulator/simulatedconnection.h>

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>

// The description file shipped beside the executables.
QString descriptionPath();

// A simulated master with one sensor of the shipped description; a product id other than the
// sensor's makes the device report a foreign identity. Lost answers complete after 1 % of
// their time-out.
std::unique_ptr<Kr7dSim::SimulatedConnection> simulatedMaster(const QString &sensorName,
                                                              const QString &productId = QString(),
                                                              const QString &portName = QString());

// How often `frame` appears in a frame log.
int countOf(const QList<QByteArray> &log, const QByteArray &frame);
