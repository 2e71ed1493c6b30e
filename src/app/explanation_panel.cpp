#include "app/explanation_panel.h"

#include <QPalette>

#include "resources/mosaic_explanation.h"

namespace tessaly {

ExplanationPanel::ExplanationPanel(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);  // every line wraps
    QPalette white = palette();
    white.setColor(QPalette::Base, Qt::white);
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::Text, Qt::black);  // dark looks have light text
    setPalette(white);
    setAutoFillBackground(true);  // the margins beside the text are white too
    document()->setDocumentMargin(0);
    setViewportMargins(10, 2, 10, 2);
    setPlainText(MosaicExplanationText());
}

}  // namespace tessaly
