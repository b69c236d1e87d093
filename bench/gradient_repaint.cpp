// Repaint cost of a screen-sized view after 1, 10 and 1000 gradient calls (a screen adds one
// per showing), as a ratio to the 1-layer repaint. Target: 1000 layers within 1.2x of 1.
//
// Usage: bench_gradient_repaint [repaints per measurement, default 300]

#include "theme/Color.h"
#include "theme/ViewLayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianRepaintMicroseconds(int layers, int repaints)
{
    QWidget view;
    view.resize(390, 844);
    for (int i = 0; i < layers; ++i)
        pelbrook::setGradientBackground(&view, pelbrook::Color(QStringLiteral("2f6fde")), pelbrook::Color(QStringLiteral("6a3fd0")));
    QImage target(view.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> samples;
    for (int i = 0; i < repaints + 10; ++i) {
        QElapsedTimer timer;
        timer.start();
        view.render(&target);
        if (i >= 10) // warm-up
            samples.push_back(double(timer.nsecsElapsed()) / 1000.0);
    }
    std::nth_element(samples.begin(), samples.begin() + long(samples.size() / 2), samples.end());
    return samples[samples.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int repaints = argc > 1 ? std::max(10, std::atoi(argv[1])) : 300;
    const double base = medianRepaintMicroseconds(1, repaints);
    std::printf("layers  median repaint (us)  ratio to 1 layer\n");
    for (int layers : {1, 10, 1000}) {
        const double t = layers == 1 ? base : medianRepaintMicroseconds(layers, repaints);
        std::printf("%6d  %19.1f  %16.3f\n", layers, t, t / base);
    }
    return 0;
}
