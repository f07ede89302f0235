#include "app/tform1.h"

namespace qir {

TForm1::TForm1(QWidget* parent) : QWidget(parent, Qt::FramelessWindowHint) {
    setFixedSize(640, 480);
}

}  // namespace qir
