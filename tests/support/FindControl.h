#pragma once
// Finding a window's control by its name, as a test drives the window from outside: the
// windows keep their widgets to themselves and name every control after its member.

#include <memory>
#include <stdexcept>
#include <string>

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

namespace quastor::test {

// The descendant of window of type T named name. When there is none the test fails with the
// name and an exception ends the test body, rather than a null pointer crashing the program.
template <class T>
T* Find(const QObject* window, const char* name) {
  T* found = window == nullptr ? nullptr : window->findChild<T*>(QString::fromUtf8(name));
  if (found == nullptr) {
    ADD_FAILURE() << "no control named " << name << " of the expected type";
    throw std::runtime_error(std::string("no control named ") + name);
  }
  return found;
}

template <class T>
T* Find(const QObject& window, const char* name) {
  return Find<T>(&window, name);
}

template <class T>
T* Find(const QObject* window, const std::string& name) {
  return Find<T>(window, name.c_str());
}

template <class T>
T* Find(const QObject& window, const std::string& name) {
  return Find<T>(&window, name.c_str());
}

template <class T, class Window>
T* Find(const std::unique_ptr<Window>& window, const char* name) {
  return Find<T>(window.get(), name);
}

}  // namespace quastor::test
