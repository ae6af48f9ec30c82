// One Qt widget per screen-model control, by kind, and the drawing of a control's model state
// onto its widget. Nothing here decides anything: it shows what the model holds.
#pragma once

#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/window_model.h"

namespace sigcond::qt {

// A picture box: the lines printed into it, top-down, each a QLabel so that screen readers
// read them; frames and buttons placed in it by the model are ordinary child widgets.
class PictureBoxWidget : public QFrame {
public:
    explicit PictureBoxWidget(QWidget* parent);
    void setLines(const std::vector<std::string>& lines);
    QStringList lines() const;

private:
    std::vector<QLabel*> labels_;
};

// An Image control: draws the picture its caption names, scaled to its size.
class ImageWidget : public QLabel {
public:
    explicit ImageWidget(QWidget* parent) : QLabel(parent) {}
    void setPicture(const QString& name);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QString name_;
};

// A kind the Qt layer does not draw itself (the chart) can be supplied by its owner.
struct CustomControl {
    std::function<QWidget*(QWidget* parent)> create;
    std::function<void(QWidget* widget, const ControlView& view)> draw;
};

QWidget* createControlWidget(ControlKind kind, QWidget* parent, const CustomControl* custom);

// Draws the model onto the widget: caption or text, lines and selection, visibility, enabled,
// colours, font size and geometry. Text boxes keep their cursor when the text is unchanged.
void drawControl(QWidget* widget, const ControlView& view, const CustomControl* custom);

// A label's caption as the operator sees it: "&" marks a mnemonic and is not shown ("&&" is
// one "&"); lines are separated by carriage returns in the model.
QString labelText(const std::string& caption);

}  // namespace sigcond::qt
