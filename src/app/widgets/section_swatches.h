#pragma once

#include <QWidget>

namespace tessaly {

struct NodeRecord;

// The 5 x 5 block of a node's section colour averages: the cells of the
// document's s x s sections are filled, the others stay empty.
class SectionSwatches : public QWidget {
    Q_OBJECT

public:
    explicit SectionSwatches(QWidget* parent = nullptr);

    // The node and section count shown; the node must outlive its use here.
    void SetNode(const NodeRecord* node, int sectionCount);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const NodeRecord* node_ = nullptr;
    int sectionCount_ = 1;
};

}  // namespace tessaly
