#pragma once

#include <QFrame>

#include <functional>

class QPainter;

namespace pictarium {

// The display box: a sunken white box whose drawing is done, at every
// paint request, by the procedure its owner hands it. It keeps no drawing
// of its own between paints.
class DisplayBox : public QFrame {
public:
    using PaintProcedure = std::function<void(QPainter&)>;

    explicit DisplayBox(QWidget* parent);

    // The procedure gets a painter whose origin is the box's inner corner.
    void setPaintProcedure(PaintProcedure procedure) { mPaint = std::move(procedure); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaintProcedure mPaint;
};

}  // namespace pictarium
