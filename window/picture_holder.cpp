#include "window/picture_holder_p.h"

namespace pictarium {

PictureHolder::PictureHolder(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    hide();
}

}  // namespace pictarium
