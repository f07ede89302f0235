#pragma once

#include <QWidget>

namespace qir {

// The main window: owns every control and data component and wires them together.
class TForm1 : public QWidget {
    Q_OBJECT
  public:
    explicit TForm1(QWidget* parent = nullptr);
};

}  // namespace qir
