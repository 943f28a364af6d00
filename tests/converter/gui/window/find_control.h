// A window's control found by its object name, the way a script would
// find it; a missing or differently typed control fails the test.
#pragma once

#include <QLatin1String>
#include <QObject>
#include <stdexcept>
#include <string>

template <typename Control>
Control* Find(const QObject& window, const char* name) {
  Control* control = window.findChild<Control*>(QLatin1String(name));
  if (control == nullptr) throw std::runtime_error(std::string("the window has no control named ") + name);
  return control;
}
