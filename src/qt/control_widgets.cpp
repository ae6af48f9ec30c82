#include "qt/control_widgets.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>

#include "qt/cp1252.h"
#include "qt/pictures.h"
#include "qt/twips.h"

namespace sigcond::qt {

PictureBoxWidget::PictureBoxWidget(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
}

void PictureBoxWidget::setLines(const std::vector<std::string>& lines) {
    while (labels_.size() < lines.size()) {
        auto* label = new QLabel(this);
        label->setTextFormat(Qt::PlainText);
        label->setObjectName(QStringLiteral("line%1").arg(labels_.size()));
        labels_.push_back(label);
    }
    const int lineHeight = fontMetrics().height();
    QStringList all;
    for (std::size_t i = 0; i < labels_.size(); ++i) {
        QLabel* label = labels_[i];
        if (i >= lines.size()) {
            label->hide();
            continue;
        }
        const QString text = fromCp1252(lines[i]);
        all << text;
        if (label->text() != text) label->setText(text);
        label->setAccessibleName(text.trimmed().isEmpty() ? QStringLiteral(" ") : text);
        label->setGeometry(2, 2 + static_cast<int>(i) * lineHeight,
                           std::max(width() - 4, label->sizeHint().width()), lineHeight);
        label->lower();
        label->show();
    }
    setAccessibleDescription(all.join(QLatin1Char('\n')));
}

QStringList PictureBoxWidget::lines() const {
    QStringList result;
    for (const QLabel* label : labels_) {
        if (!label->isHidden()) result << label->text();
    }
    return result;
}

void ImageWidget::setPicture(const QString& name) {
    if (name == name_ && !pixmap().isNull()) return;
    name_ = name;
    setPixmap(pictureFor(name_, size()));
    setAccessibleName(name_);
}

void ImageWidget::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    setPixmap(pictureFor(name_, event->size()));
}

QString labelText(const std::string& caption) {
    const QString text = captionText(caption);
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&')) {
            if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('&')) {
                shown.append(QLatin1Char('&'));
                ++i;
            }
            continue;
        }
        shown.append(text.at(i));
    }
    return shown;
}

QWidget* createControlWidget(ControlKind kind, QWidget* parent, const CustomControl* custom) {
    if (custom && custom->create) return custom->create(parent);
    switch (kind) {
        case ControlKind::Label: {
            auto* label = new QLabel(parent);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setWordWrap(true);
            return label;
        }
        case ControlKind::Button:
            return new QPushButton(parent);
        case ControlKind::TextBox:
            return new QLineEdit(parent);
        case ControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            return list;
        }
        case ControlKind::Frame:
            return new QGroupBox(parent);
        case ControlKind::PictureBox:
            return new PictureBoxWidget(parent);
        case ControlKind::Image:
            return new ImageWidget(parent);
        case ControlKind::Chart:
            break;
    }
    // A chart without a supplier: an empty framed area of the chart's size.
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    return frame;
}

namespace {

void drawColours(QWidget* widget, const Control& c) {
    QPalette palette =
        widget->parentWidget() ? widget->parentWidget()->palette() : widget->palette();
    if (c.foreColour != kDefaultColour) {
        const QColor fore(QRgb(static_cast<unsigned>(c.foreColour)));
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
            palette.setColor(role, fore);
        }
    }
    const bool ownBack = c.backColour != kDefaultColour;
    if (ownBack) {
        const QColor back(QRgb(static_cast<unsigned>(c.backColour)));
        for (auto role : {QPalette::Window, QPalette::Button, QPalette::Base}) {
            palette.setColor(role, back);
        }
    }
    if (widget->palette() != palette) widget->setPalette(palette);
    // A control whose colour goes back to the default shows its parent's background again (a
    // live value inside a frame after an alarm colour), not the window's own.
    widget->setAutoFillBackground(ownBack || dynamic_cast<PictureBoxWidget*>(widget) != nullptr);
}

void drawFont(QWidget* widget, const Control& c) {
    QFont font = widget->parentWidget() ? widget->parentWidget()->font() : widget->font();
    // Point sizes follow the desktop's scale factor, as the twips of the geometry do.
    if (c.fontSize > 0) font.setPointSize(c.fontSize);
    if (c.bold) font.setBold(true);
    if (widget->font() != font) widget->setFont(font);
}

void drawGeometry(QWidget* widget, const Control& c) {
    if (c.width > 0 || c.height > 0) {
        const QSize hint = widget->sizeHint();
        const int w = c.width > 0 ? twipsToPixels(c.width) : hint.width();
        const int h = c.height > 0 ? twipsToPixels(c.height) : hint.height();
        const QRect rect(twipsToPixels(c.left), twipsToPixels(c.top), w, h);
        if (widget->geometry() != rect) widget->setGeometry(rect);
    } else {
        widget->adjustSize();
        widget->move(twipsToPixels(c.left), twipsToPixels(c.top));
    }
}

void drawList(QListWidget* list, const Control& c) {
    bool same = list->count() == static_cast<int>(c.lines.size());
    for (int i = 0; same && i < list->count(); ++i) {
        same = list->item(i)->text() == fromCp1252(c.lines[static_cast<std::size_t>(i)]);
    }
    if (!same) {
        list->clear();
        for (const auto& line : c.lines) list->addItem(fromCp1252(line));
    }
    const int wanted = c.selected >= 0 && c.selected < list->count() ? c.selected : -1;
    if (list->currentRow() != wanted || (wanted < 0 && !list->selectedItems().isEmpty())) {
        if (wanted < 0) {
            list->clearSelection();
            list->setCurrentRow(-1);
        } else {
            list->setCurrentRow(wanted);
        }
    }
    if (wanted >= 0 && !list->item(wanted)->isSelected()) list->item(wanted)->setSelected(true);
}

}  // namespace

void drawControl(QWidget* widget, const ControlView& view, const CustomControl* custom) {
    const Control& c = *view.control;
    drawFont(widget, c);
    drawColours(widget, c);
    if (custom && custom->draw) {
        custom->draw(widget, view);
    } else {
        switch (view.kind) {
            case ControlKind::Label: {
                auto* label = static_cast<QLabel*>(widget);
                const QString text = labelText(c.caption);
                if (label->text() != text) label->setText(text);
                label->setAccessibleName(text);
                break;
            }
            case ControlKind::Button: {
                auto* button = static_cast<QPushButton*>(widget);
                const QString text = captionText(c.caption);
                if (button->text() != text) button->setText(text);
                button->setAccessibleName(labelText(c.caption));
                break;
            }
            case ControlKind::TextBox: {
                auto* edit = static_cast<QLineEdit*>(widget);
                const QString text = fromCp1252(c.caption);
                if (edit->text() != text) edit->setText(text);
                break;
            }
            case ControlKind::ListBox:
                drawList(static_cast<QListWidget*>(widget), c);
                break;
            case ControlKind::Frame: {
                auto* frame = static_cast<QGroupBox*>(widget);
                const QString text = captionText(c.caption);
                if (frame->title() != text) frame->setTitle(text);
                frame->setAccessibleName(labelText(c.caption));
                break;
            }
            case ControlKind::PictureBox:
                static_cast<PictureBoxWidget*>(widget)->setLines(c.lines);
                break;
            case ControlKind::Image:
                static_cast<ImageWidget*>(widget)->setPicture(fromCp1252(c.caption));
                break;
            case ControlKind::Chart:
                break;
        }
    }
    const QString tip = fromCp1252(c.tooltip);
    if (widget->toolTip() != tip) widget->setToolTip(tip);
    if (widget->isEnabled() != c.enabled) widget->setEnabled(c.enabled);
    drawGeometry(widget, c);
    // PictureBox lines are laid out to the box's width, which is known only now.
    if (view.kind == ControlKind::PictureBox && !(custom && custom->draw)) {
        static_cast<PictureBoxWidget*>(widget)->setLines(c.lines);
    }
    if (widget->isHidden() == c.visible) widget->setVisible(c.visible);
}

}  // namespace sigcond::qt
