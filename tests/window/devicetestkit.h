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
