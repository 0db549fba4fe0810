#include "window/dialog_controls.h"

#include "window/child_widget_p.h"
#include "window/description_box_p.h"
#include "window/display_box_p.h"
#include "window/picture_holder_p.h"
#include "window/twips_p.h"

#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <iterator>
#include <memory>

namespace pictarium {

namespace {

// What a bitmap button shows and says.
struct BitmapButton {
    const char* name;
    int left;
    int top;
    const char* bitmap;
    QSize bitmapSize;
    const char* tooltip;
    bool enabled;
    int helpTopic;
};

constexpr int ButtonTwips = 375;
constexpr QSize SmallBitmap{16, 16};
constexpr QSize WideBitmap{21, 20};

// The context-help topic of a control in the help file.
void setHelpTopic(QWidget* control, int topic) {
    control->setProperty("helpTopic", topic);
}

void place(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twipsRect(left, top, width, height));
}

QToolButton* createBitmapButton(QWidget* panel, const BitmapButton& layout) {
    auto* button = createChild<QToolButton>(panel, QString::fromLatin1(layout.name));
    place(button, layout.left, layout.top, ButtonTwips, ButtonTwips);
    button->setIcon(QIcon(QStringLiteral(":/bitmaps/%1.xpm").arg(QLatin1String(layout.bitmap))));
    button->setIconSize(layout.bitmapSize);
    button->setToolTip(QString::fromUtf8(layout.tooltip));
    // A picture says nothing to a screen reader: the tooltip names it.
    button->setAccessibleName(button->toolTip());
    button->setEnabled(layout.enabled);
    button->setFocusPolicy(Qt::StrongFocus);
    setHelpTopic(button, layout.helpTopic);
    return button;
}

QWidget* createPanel(QWidget& window, const QString& name) {
    auto* panel = createChild<QWidget>(&window, name);
    place(panel, 240, 480, 5415, 4935);
    panel->setFocusPolicy(Qt::TabFocus);
    return panel;
}

QLineEdit* createPathBox(QWidget* panel, const QString& name, int top, int helpTopic) {
    auto* box = createChild<QLineEdit>(panel, name);
    place(box, 120, top, 5055, 285);
    box->setReadOnly(true);
    setHelpTopic(box, helpTopic);
    return box;
}

QLabel* createLabel(QWidget* panel, const QString& name, const QString& text, const QRect& twips) {
    auto* label = createChild<QLabel>(panel, name, text);
    place(label, twips.x(), twips.y(), twips.width(), twips.height());
    // Fonts here are wider than the one the layout was drawn with: a label
    // grows to show its whole text rather than lose its end.
    label->resize(label->size().expandedTo(label->sizeHint()));
    return label;
}

void buildWindowControls(QWidget& window, DialogControls& c) {
    c.TabStrip1 = createChild<QTabWidget>(&window, QStringLiteral("TabStrip1"));
    place(c.TabStrip1, 120, 120, 5655, 5415);
    // The tab strip holds no controls: its pages stay empty and the panels
    // are laid over its body.
    for (const QString& title : {QStringLiteral("Pictarium"), QStringLiteral("Options")}) {
        auto page = std::make_unique<QWidget>();
        c.TabStrip1->addTab(page.release(), title);  // the tab strip takes it
    }

    c.PicData = createPanel(window, QStringLiteral("PicData"));
    c.PicConfig = createPanel(window, QStringLiteral("PicConfig"));
    c.PicConfig->hide();

    c.Command13 =
        createChild<QPushButton>(&window, QStringLiteral("Command13"), QStringLiteral("&Fermer"));
    place(c.Command13, 4560, 5640, 1215, 375);
    setHelpTopic(c.Command13, 115);

    c.PicTmp = createChild<PictureHolder>(&window, QStringLiteral("PicTmp"));
    place(c.PicTmp, 120, 5640, 855, 375);
    c.PicLoad = createChild<PictureHolder>(&window, QStringLiteral("PicLoad"));
    place(c.PicLoad, 1200, 5640, 855, 375);
}

void buildDataPanel(DialogControls& c) {
    QWidget* panel = c.PicData;
    c.Command1 = createBitmapButton(
        panel, {"Command1", 120, 120, "add", SmallBitmap, "Ajouter", false, 100});
    c.Command6 = createBitmapButton(
        panel, {"Command6", 600, 120, "delete", WideBitmap, "Supprimer", false, 101});
    c.Command15 = createBitmapButton(
        panel, {"Command15", 1320, 120, "copy", SmallBitmap, "Copier", false, 102});
    c.Command14 = createBitmapButton(
        panel, {"Command14", 1800, 120, "paste", SmallBitmap, "Coller", false, 103});
    c.Command16 = createBitmapButton(
        panel, {"Command16", 2280, 120, "save", SmallBitmap, "Enregistrer sous...", false, 104});

    c.PicShow = createChild<DisplayBox>(panel, QStringLiteral("PicShow"));
    place(c.PicShow, 120, 600, 4935, 2775);
    c.PicShow->setFocusPolicy(Qt::TabFocus);
    setHelpTopic(c.PicShow, 105);

    c.Command9 = createBitmapButton(
        panel, {"Command9", 2640, 3480, "first", WideBitmap, "Reculer", false, 106});
    c.Command10 = createBitmapButton(
        panel, {"Command10", 3120, 3480, "last", WideBitmap, "Reculer", false, 107});
    c.Command2 = createBitmapButton(
        panel, {"Command2", 4200, 3480, "back", WideBitmap, "Reculer", false, 108});
    c.Command3 = createBitmapButton(
        panel, {"Command3", 4680, 3480, "forward", WideBitmap, "Avancer", false, 109});

    c.TextDescription = createChild<DescriptionBox>(panel, QStringLiteral("TextDescription"));
    place(c.TextDescription, 120, 3960, 4935, 285);
    setHelpTopic(c.TextDescription, 110);

    c.Command7 = createBitmapButton(
        panel, {"Command7", 120, 4320, "search_back", WideBitmap,
                "Rechercher depuis le début jusqu'à cette position", false, 111});
    c.Command11 = createBitmapButton(
        panel, {"Command11", 600, 4320, "search_forward", WideBitmap,
                "Rechercher depuis cette position jusqu'à la fin du fichier", false, 112});
    c.Command12 = createBitmapButton(
        panel, {"Command12", 4200, 4320, "info", WideBitmap, "Infos base de données", false, 113});
    c.Command8 = createBitmapButton(
        panel, {"Command8", 4680, 4320, "help", SmallBitmap, "Aide ?", true, 114});
}

void buildConfigPanel(DialogControls& c) {
    QWidget* panel = c.PicConfig;
    c.Command5 = createBitmapButton(
        panel, {"Command5", 120, 240, "create_base", WideBitmap, "Créer une base", true, 116});
    c.Command4 = createBitmapButton(
        panel, {"Command4", 600, 240, "open_base", WideBitmap, "Ouvrir une base", true, 117});
    c.Label1 = createLabel(panel, QStringLiteral("Label1"), QStringLiteral("Base ouverte :"),
                           {120, 960, 1035, 195});
    c.TextDbOpen = createPathBox(panel, QStringLiteral("TextDbOpen"), 1200, 118);

    c.CmdImpose =
        createChild<QPushButton>(panel, QStringLiteral("CmdImpose"), QStringLiteral("&Imposer"));
    place(c.CmdImpose, 3840, 1680, 1335, 375);
    c.CmdImpose->setToolTip(QStringLiteral("A ouvrir par défaut"));
    c.CmdImpose->setEnabled(false);
    setHelpTopic(c.CmdImpose, 120);

    c.Label2 = createLabel(panel, QStringLiteral("Label2"), QStringLiteral("Base par défaut :"),
                           {120, 2280, 1215, 195});
    c.TextDefautBase = createPathBox(panel, QStringLiteral("TextDefautBase"), 2520, 119);
}

void setFocusOrder(const DialogControls& c) {
    QWidget* const chain[] = {
        c.TabStrip1, c.Command13, c.PicData,         c.PicConfig, c.Command15,  c.Command14,
        c.Command8,  c.Command12, c.TextDescription, c.Command11, c.Command7,   c.PicShow,
        c.Command10, c.Command9,  c.Command6,        c.Command3,  c.Command2,   c.Command1,
        c.Command5,  c.Command4,  c.TextDefautBase,  c.CmdImpose, c.TextDbOpen, c.Command16};
    for (std::size_t i = 0; i + 1 < std::size(chain); ++i) {
        QWidget::setTabOrder(chain[i], chain[i + 1]);
    }
}

}  // namespace

DialogControls buildDialogControls(QWidget& window) {
    // The layout was drawn for an 8-point font.
    QFont font = window.font();
    font.setPointSize(8);
    window.setFont(font);
    DialogControls controls;
    buildWindowControls(window, controls);
    buildDataPanel(controls);
    buildConfigPanel(controls);
    setFocusOrder(controls);
    return controls;
}

}  // namespace pictarium
