// The cost of one pointer move during a move drag on a 9000-node document,
// against repainting the same rectangles from the view's cached frame with no
// drag running (the least a move can cost) and against composing the whole
// canvas again (what the cached frame saves). The view is 1024 x 768 on the
// offscreen platform; every pass ends when Qt has painted.
// TESSALY_BENCH_NODES shrinks the document for quick runs.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cmath>

#include "bench_support.h"
#include "view/atelier_view.h"
#include "canvas/view_geometry.h"
#include "document/edited_document.h"

namespace {

using namespace tessaly;

class DragFixture {
public:
    DragFixture() {
        bench::PrepareBenchDocument(*doc_);
        const int count = bench::BenchNodeCount();
        const int columns = int(std::ceil(std::sqrt(double(count))));
        const int cell = bench::kBenchCanvasSize / columns;
        for (int i = 0; i < count; ++i) {
            NodeRecord& node = doc_->Node(i);
            node.centerX = (i % columns) * cell + cell / 2;
            node.centerY = (i / columns) * cell + cell / 2;
            node.halfWidth = node.halfHeight = std::max(2, cell / 2 - 4);
            node.visible = 1;
        }
        doc_->State().nodeCount = count;
        view_ = std::make_unique<CAtelierView>(edited_);
        view_->resize(1024, 768);
        view_->show();
        view_->InitialUpdate(false);
        view_->Console().SetVisible(false);
        QApplication::processEvents();
        // A node near the middle of the view, grabbed at its centre.
        grab_ = view_->ViewToClient(NodeCentre(NodeAt(*doc_, {400, 300})));
    }

    QWidget* Surface() { return view_->viewport(); }
    CAtelierView& View() { return *view_; }
    QPoint Grab() const { return grab_; }

    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, Surface()->mapToGlobal(at), button, buttons, {});
        QApplication::sendEvent(Surface(), &event);
    }

private:
    QPoint NodeCentre(int node) const {
        const NodeRecord& n = doc_->Node(node);
        return {CanvasToView(1.0f, n.centerX), CanvasToView(1.0f, n.centerY)};
    }

    EditedDocument edited_;
    Document* doc_ = &edited_.Doc();
    std::unique_ptr<CAtelierView> view_;
    QPoint grab_;
};

// Pointer positions that stay clear of the auto-scroll margins.
QPoint Wander(QPoint from, int step) {
    return from + QPoint(step % 40 - 20, step % 30 - 15);
}

void BM_DragPointerMove(benchmark::State& state) {
    DragFixture fixture;
    fixture.Send(QEvent::MouseButtonPress, fixture.Grab(), Qt::LeftButton, Qt::LeftButton);
    QApplication::processEvents();
    const int composed = fixture.View().ComposeCount();
    int step = 0;
    for (auto _ : state) {
        fixture.Send(QEvent::MouseMove, Wander(fixture.Grab(), ++step), Qt::NoButton,
                     Qt::LeftButton);
        QApplication::processEvents();
    }
    state.counters["recomposed"] = fixture.View().ComposeCount() - composed;
    fixture.Send(QEvent::MouseButtonRelease, fixture.Grab(), Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_DragPointerMove)->Unit(benchmark::kMicrosecond);

// The same two rectangles a move repaints (the outline's old and new place),
// copied from the cached frame without a drag.
void BM_RepaintFeedbackRects(benchmark::State& state) {
    DragFixture fixture;
    const int node = NodeAt(fixture.View().Doc(), fixture.View().ClientToView(fixture.Grab()));
    const IntRect rect = NodeViewRect(fixture.View().Doc(), node);
    const IntRect grown{rect.left - 3, rect.top - 3, rect.right + 3, rect.bottom + 3};
    int step = 0;
    for (auto _ : state) {
        const QPoint a = Wander({}, step);
        const QPoint b = Wander({}, ++step);
        fixture.View().FeedbackChanged(grown.Translated(a.x(), a.y()),
                                       grown.Translated(b.x(), b.y()));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RepaintFeedbackRects)->Unit(benchmark::kMicrosecond);

// Composing the visible canvas again, as every move would without the cache.
void BM_RecomposeVisibleCanvas(benchmark::State& state) {
    DragFixture fixture;
    for (auto _ : state) {
        fixture.View().InvalidateCanvas();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RecomposeVisibleCanvas)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
