#include "imaging/decoders/quickdraw_drawing_p.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <array>
#include <bit>

namespace pictarium {

namespace {

// Mac OS Roman above ASCII.
constexpr std::array<char16_t, 128> MacRomanHigh = {
    u'Ä', u'Å', u'Ç', u'É', u'Ñ', u'Ö', u'Ü', u'á', u'à',      u'â',      u'ä', u'ã', u'å',
    u'ç', u'é', u'è', u'ê', u'ë', u'í', u'ì', u'î', u'ï',      u'ñ',      u'ó', u'ò', u'ô',
    u'ö', u'õ', u'ú', u'ù', u'û', u'ü', u'†', u'°', u'¢',      u'£',      u'§', u'•', u'¶',
    u'ß', u'®', u'©', u'™', u'´', u'¨', u'≠', u'Æ', u'Ø',      u'∞',      u'±', u'≤', u'≥',
    u'¥', u'µ', u'∂', u'∑', u'∏', u'π', u'∫', u'ª', u'º',      u'Ω',      u'æ', u'ø', u'¿',
    u'¡', u'¬', u'√', u'ƒ', u'≈', u'∆', u'«', u'»', u'…',      u'\u00A0', u'À', u'Ã', u'Õ',
    u'Œ', u'œ', u'–', u'—', u'“', u'”', u'‘', u'’', u'÷',      u'◊',      u'ÿ', u'Ÿ', u'⁄',
    u'€', u'‹', u'›', u'ﬁ', u'ﬂ', u'‡', u'·', u'‚', u'„',      u'‰',      u'Â', u'Ê', u'Á',
    u'Ë', u'È', u'Í', u'Î', u'Ï', u'Ì', u'Ó', u'Ô', u'\uF8FF', u'Ò',      u'Ú', u'Û', u'Ù',
    u'ı', u'ˆ', u'˜', u'¯', u'˘', u'˙', u'˚', u'¸', u'˝',      u'˛',      u'ˇ'};

QString macRoman(QByteArrayView bytes) {
    QString text;
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        text.append(code < 0x80 ? QChar(code) : QChar(MacRomanHigh[code - 0x80]));
    }
    return text;
}

// The families of the classic Mac font numbers, by what they look like.
QString familyOf(int number, const QString& name) {
    if (!name.isEmpty()) {
        return name;
    }
    switch (number) {
        case 2:
        case 20:
            return QStringLiteral("serif");
        case 4:
        case 22:
            return QStringLiteral("monospace");
        default:
            return QStringLiteral("sans-serif");
    }
}

// The eight-by-eight pattern's share of set bits: how much of it is ink.
double inkOf(QByteArrayView pattern) {
    int bits = 0;
    for (const char byte : pattern) {
        bits += std::popcount(static_cast<unsigned char>(byte));
    }
    return bits / 64.0;
}

QColor mix(const QColor& ink, const QColor& paper, double share) {
    const auto channel = [share](int a, int b) {
        return static_cast<int>(a * share + b * (1 - share) + 0.5);
    };
    return QColor(channel(ink.red(), paper.red()), channel(ink.green(), paper.green()),
                  channel(ink.blue(), paper.blue()));
}

// The eight colours of the original QuickDraw colour constants.
QColor classicColour(std::uint32_t value) {
    switch (value) {
        case 30:
            return Qt::white;
        case 69:
            return Qt::yellow;
        case 137:
            return Qt::magenta;
        case 205:
            return Qt::red;
        case 273:
            return Qt::cyan;
        case 341:
            return Qt::green;
        case 409:
            return Qt::blue;
        default:
            return Qt::black;
    }
}

QColor rgbColour(ByteReader& reader) {
    const int red = reader.u16be() >> 8;
    const int green = reader.u16be() >> 8;
    return QColor(red, green, reader.u16be() >> 8);
}

// Far more rectangles than a region drawn on a page holds.
constexpr qsizetype MaxRegionRectangles = 100000;

}  // namespace

// A region: its size and bounds, then, when it is not the bounds alone,
// scan lines of inversion points. Each line lists where, from its row
// down, the inside and the outside change places; the spans of a band
// lie between consecutive points of all the lines above it.
QPainterPath QuickDrawDrawing::readRegion(ByteReader& reader) const {
    const std::uint16_t size = reader.u16be();
    requireValid(size >= 10);
    const QRect bounds = readRect(reader);
    QPainterPath area;
    area.setFillRule(Qt::WindingFill);
    if (size == 10) {
        area.addRect(bounds);
        return area;
    }
    ByteReader data(reader.take(size - 10));
    QList<int> inversions;  // kept sorted
    int top = 0;
    qsizetype rectangles = 0;
    while (data.remaining() >= 2) {
        const auto row = static_cast<std::int16_t>(data.u16be());
        for (qsizetype i = 0; i + 1 < inversions.size() && row != 0x7FFF; i += 2) {
            requireValid(++rectangles <= MaxRegionRectangles);
            area.addRect(QRect(QPoint(inversions[i], top), QPoint(inversions[i + 1], row))
                             .adjusted(0, 0, -1, -1));
        }
        if (row == 0x7FFF) {
            break;
        }
        top = row;
        while (true) {
            const auto x = static_cast<std::int16_t>(data.u16be());
            if (x == 0x7FFF) {
                break;
            }
            const auto at = std::lower_bound(inversions.begin(), inversions.end(), int{x});
            if (at != inversions.end() && *at == x) {
                inversions.erase(at);
            } else {
                requireValid(inversions.size() < MaxRegionRectangles);
                inversions.insert(at, x);
            }
        }
    }
    return area;
}

QPoint QuickDrawDrawing::readPoint(ByteReader& reader) const {
    const auto v = static_cast<std::int16_t>(reader.u16be());
    const auto h = static_cast<std::int16_t>(reader.u16be());
    return QPoint(h, v);
}

QRect QuickDrawDrawing::readRect(ByteReader& reader) const {
    const QPoint topLeft = readPoint(reader);
    const QPoint bottomRight = readPoint(reader);
    return QRect(topLeft, QSize(bottomRight.x() - topLeft.x(), bottomRight.y() - topLeft.y()));
}

bool QuickDrawDrawing::play(std::uint16_t opcode, ByteReader& reader) {
    switch (opcode) {
        case 0x02:  // background pattern: erasing uses the background colour
        case 0x03:
        case 0x04:
        case 0x07:
        case 0x09:
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x0E:
        case 0x0F:
        case 0x1A:
        case 0x1B:
        case 0x2C:
            setState(opcode, reader);
            return true;
        case 0x20:
        case 0x21:
        case 0x22:
        case 0x23:
            drawLine(opcode, reader);
            return true;
        case 0x28:
        case 0x29:
        case 0x2A:
        case 0x2B:
            drawText(opcode, reader);
            return true;
        default:
            break;
    }
    const bool drawnShape = (opcode >= 0x30 && opcode <= 0x8C) && (opcode & 0x07) <= 4;
    if (!drawnShape) {
        return false;
    }
    drawShape(opcode, reader);
    return true;
}

void QuickDrawDrawing::setState(std::uint16_t opcode, ByteReader& reader) {
    switch (opcode) {
        case 0x02:
            reader.skip(8);
            return;
        case 0x03:
            mFontNumber = reader.u16be();
            mFontName.clear();
            return;
        case 0x04:
            mTextFace = reader.u8();
            return;
        case 0x07: {
            const QPoint size = readPoint(reader);
            mPenSize = QSize(std::clamp(size.x(), 0, 1000), std::clamp(size.y(), 0, 1000));
            return;
        }
        case 0x09:
            mPenInk = inkOf(reader.take(8));
            return;
        case 0x0A:
            mFillInk = inkOf(reader.take(8));
            return;
        case 0x0B: {
            const QPoint size = readPoint(reader);
            mOvalSize = QSize(size.x(), size.y());
            return;
        }
        case 0x0C: {
            // The origin moves; what follows is drawn that much up and left.
            const auto dh = static_cast<std::int16_t>(reader.u16be());
            const auto dv = static_cast<std::int16_t>(reader.u16be());
            mToPage = QTransform::fromTranslate(-dh, -dv) * mToPage;
            return;
        }
        case 0x0D:
            mTextSize = std::clamp<int>(reader.u16be(), 1, 1000);
            return;
        case 0x0E:
            mForeground = classicColour(reader.u32be());
            return;
        case 0x0F:
            mBackground = classicColour(reader.u32be());
            return;
        case 0x1A:
            mForeground = rgbColour(reader);
            return;
        case 0x1B:
            mBackground = rgbColour(reader);
            return;
        default: {  // 0x2C: a font's number and name
            const std::uint16_t length = reader.u16be();
            ByteReader font(reader.take(length));
            mFontNumber = font.u16be();
            const std::uint8_t nameLength = font.u8();
            mFontName = macRoman(font.take(std::min<qsizetype>(nameLength, font.remaining())));
            return;
        }
    }
}

void QuickDrawDrawing::drawLine(std::uint16_t opcode, ByteReader& reader) {
    QPoint from = mPenPosition;
    QPoint to;
    if (opcode == 0x20 || opcode == 0x22) {
        from = readPoint(reader);
    }
    if (opcode == 0x20 || opcode == 0x21) {
        to = readPoint(reader);
    } else {
        const auto dh = static_cast<std::int8_t>(reader.u8());
        const auto dv = static_cast<std::int8_t>(reader.u8());
        to = from + QPoint(dh, dv);
    }
    mPenPosition = to;
    if (mPenSize.isEmpty()) {
        return;
    }
    // The pen hangs below and right of its position.
    const QPointF hang(mPenSize.width() / 2.0, mPenSize.height() / 2.0);
    QPainterPath line;
    line.moveTo(QPointF(from) + hang);
    line.lineTo(QPointF(to) + hang);
    QPainter painter(&mPage);
    painter.setTransform(mToPage);
    painter.setPen(QPen(mix(mForeground, mBackground, mPenInk),
                        std::max(mPenSize.width(), mPenSize.height()), Qt::SolidLine,
                        Qt::SquareCap));
    painter.drawPath(line);
    mHasDrawn = true;
}

void QuickDrawDrawing::drawText(std::uint16_t opcode, ByteReader& reader) {
    switch (opcode) {
        case 0x28:
            mTextPosition = readPoint(reader);
            break;
        case 0x29:
            mTextPosition.rx() += reader.u8();
            break;
        case 0x2A:
            mTextPosition.ry() += reader.u8();
            break;
        default: {
            const int dh = reader.u8();
            mTextPosition += QPoint(dh, reader.u8());
            break;
        }
    }
    const std::uint8_t count = reader.u8();
    const QString text = macRoman(reader.take(count));
    // Fonts need a Gui application; without one the text is left out.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return;
    }
    QFont font(familyOf(mFontNumber, mFontName));
    font.setPixelSize(mTextSize);  // pictures are at 72 dots per inch: points are pixels
    font.setBold((mTextFace & 1) != 0);
    font.setItalic((mTextFace & 2) != 0);
    font.setUnderline((mTextFace & 4) != 0);
    QPainter painter(&mPage);
    painter.setTransform(mToPage);
    painter.setFont(font);
    painter.setPen(mForeground);
    painter.drawText(mTextPosition, text);
    mHasDrawn = true;
}

void QuickDrawDrawing::drawShape(std::uint16_t opcode, ByteReader& reader) {
    const auto verb = static_cast<Verb>(opcode & 0x07);
    const bool same = (opcode & 0x08) != 0;
    // 3 rect, 4 rounded, 5 oval, 6 arc, 7 polygon, 8 region
    const int family = (opcode >> 4) & 0x0F;
    QPainterPath area;
    QPainterPath outline;
    if (family == 8) {
        if (!same) {
            mLastRegion = readRegion(reader);
        }
        area = mLastRegion;
        outline = mLastRegion;
    } else if (family == 7) {
        if (!same) {
            const std::uint16_t size = reader.u16be();
            requireValid(size >= 10);
            (void)readRect(reader);  // bounds
            QPolygon polygon;
            for (int i = 0; i < (size - 10) / 4; ++i) {
                polygon.append(readPoint(reader));
            }
            mLastPolygon = polygon;
        }
        area.addPolygon(QPolygonF(mLastPolygon));
        area.closeSubpath();
        outline.addPolygon(QPolygonF(mLastPolygon));  // framed open, as QuickDraw does
    } else {
        if (!same) {
            mLastRect = readRect(reader);
        }
        const QRectF box(mLastRect);
        if (family == 3) {
            area.addRect(box);
        } else if (family == 4) {
            area.addRoundedRect(box, mOvalSize.width() / 2.0, mOvalSize.height() / 2.0);
        } else if (family == 5) {
            area.addEllipse(box);
        } else {
            // Angles from twelve o'clock, clockwise; Qt's from three, the other way.
            const auto start = static_cast<std::int16_t>(reader.u16be());
            const auto sweep = static_cast<std::int16_t>(reader.u16be());
            area.moveTo(box.center());
            area.arcTo(box, 90 - start, -sweep);
            area.closeSubpath();
            outline.arcMoveTo(box, 90 - start);
            outline.arcTo(box, 90 - start, -sweep);
        }
        if (outline.isEmpty()) {
            outline = area;
        }
    }
    apply(verb, area, outline);
}

void QuickDrawDrawing::apply(Verb verb, const QPainterPath& area, const QPainterPath& outline) {
    QPainter painter(&mPage);
    painter.setTransform(mToPage);
    switch (verb) {
        case Verb::Frame: {
            if (mPenSize.isEmpty()) {
                return;
            }
            // The pen draws inside the shape's edge.
            const double width = std::max(mPenSize.width(), mPenSize.height());
            painter.setClipPath(area.united(outline));
            painter.setPen(QPen(mix(mForeground, mBackground, mPenInk), 2 * width));
            painter.drawPath(outline);
            break;
        }
        case Verb::Paint:
            painter.fillPath(area, mix(mForeground, mBackground, mPenInk));
            break;
        case Verb::Erase:
            painter.fillPath(area, mBackground);
            break;
        case Verb::Fill:
            painter.fillPath(area, mix(mForeground, mBackground, mFillInk));
            break;
        case Verb::Invert:
            // Every pixel of the shape turns to its complement, black to white.
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            painter.fillPath(area, Qt::white);
            break;
    }
    mHasDrawn = true;
}

}  // namespace pictarium
