#include "theme/Layout.h"

#include "theme/ViewLayer.h"

#include <QHash>

#include <cmath>
#include <optional>

namespace pelbrook {

LayoutData::LayoutData(QWidget *view)
    : QObject(view)
{
    setObjectName(QStringLiteral("layoutData"));
}

LayoutData *LayoutData::find(const QWidget *view)
{
    return view ? view->findChild<LayoutData *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

LayoutData *LayoutData::of(QWidget *view)
{
    if (LayoutData *existing = find(view))
        return existing;
    return new LayoutData(view);
}

LayoutAnchor leftAnchor(QWidget *view) { return {view, LayoutEdge::Left}; }
LayoutAnchor rightAnchor(QWidget *view) { return {view, LayoutEdge::Right}; }
LayoutAnchor topAnchor(QWidget *view) { return {view, LayoutEdge::Top}; }
LayoutAnchor bottomAnchor(QWidget *view) { return {view, LayoutEdge::Bottom}; }
LayoutAnchor leadingAnchor(QWidget *view) { return {view, LayoutEdge::Leading}; }
LayoutAnchor trailingAnchor(QWidget *view) { return {view, LayoutEdge::Trailing}; }
LayoutAnchor widthAnchor(QWidget *view) { return {view, LayoutEdge::Width}; }
LayoutAnchor heightAnchor(QWidget *view) { return {view, LayoutEdge::Height}; }
LayoutAnchor safeTopAnchor(QWidget *view) { return {view, LayoutEdge::Top}; }
LayoutAnchor safeLeftAnchor(QWidget *view) { return {view, LayoutEdge::Left}; }
LayoutAnchor safeBottomAnchor(QWidget *view) { return {view, LayoutEdge::Bottom}; }
LayoutAnchor safeRightAnchor(QWidget *view) { return {view, LayoutEdge::Right}; }

namespace {

QRect rounded(const QRectF &r)
{
    const int left = int(std::lround(r.left()));
    const int top = int(std::lround(r.top()));
    return QRect(left, top, int(std::lround(r.right())) - left, int(std::lround(r.bottom())) - top);
}

} // namespace

void setFrame(QWidget *view, const QRectF &frame)
{
    LayoutData *data = LayoutData::of(view);
    data->frame = frame;
    data->hasFrame = true;
    view->setGeometry(rounded(frame));
}

void addRelation(QWidget *item, LayoutEdge edge, const LayoutAnchor &target, double constant, double multiplier)
{
    LayoutData::of(item)->relations.append({edge, target, multiplier, constant});
}

void addSizeRelation(QWidget *item, LayoutEdge edge, double constant)
{
    LayoutData::of(item)->relations.append({edge, {}, 1.0, constant});
}

void clearLayout(QWidget *root)
{
    for (LayoutData *data : root->findChildren<LayoutData *>()) {
        if (data->parent() == root)
            continue;
        data->translatesFrame = true;
        data->hasFrame = false;
        data->frame = QRectF();
        data->relations.clear();
    }
}

void setAnchor(QWidget *view, const LayoutAnchor &top, const LayoutAnchor &left, const LayoutAnchor &bottom,
               const LayoutAnchor &right, double paddingTop, double paddingLeft, double paddingBottom,
               double paddingRight, double width, double height)
{
    LayoutData::of(view)->translatesFrame = false;
    if (!top.isNull())
        addRelation(view, LayoutEdge::Top, top, paddingTop);
    if (!left.isNull())
        addRelation(view, LayoutEdge::Left, left, paddingLeft);
    if (!bottom.isNull())
        addRelation(view, LayoutEdge::Bottom, bottom, paddingBottom);
    if (!right.isNull())
        addRelation(view, LayoutEdge::Right, right, -paddingRight);
    // Exactly 0 means "no size relation"; any other value, negative included, is asked for.
    if (width != 0)
        addSizeRelation(view, LayoutEdge::Width, width);
    if (height != 0)
        addSizeRelation(view, LayoutEdge::Height, height);
}

void setCellShadow(QWidget *view)
{
    ViewLayer *layer = ViewLayer::of(view);
    layer->setShadow(QColor::fromRgbF(1.0f / 3, 1.0f / 3, 1.0f / 3), QSizeF(0, 1), 1.0, 1.0);
    layer->setMasksToBounds(false);
    layer->setCornerRadius(15);
}

namespace {

enum class Axis { Horizontal, Vertical };

struct Resolution {
    QWidget *root;
    QHash<const QWidget *, QRectF> resolved; // in root coordinates
    QList<DroppedRelation> dropped;
};

// A view's rectangle in root coordinates: resolved already, or from its current geometry.
QRectF rectInRoot(const QWidget *view, Resolution &state)
{
    if (view == state.root)
        return QRectF(QPointF(0, 0), QSizeF(state.root->size()));
    if (auto it = state.resolved.constFind(view); it != state.resolved.constEnd())
        return *it;
    QPointF offset;
    const QWidget *w = view->parentWidget();
    while (w && w != state.root) {
        offset += w->pos();
        w = w->parentWidget();
    }
    if (!w)
        return QRectF(view->geometry());
    return QRectF(view->geometry()).translated(offset);
}

double edgeValue(const QRectF &r, LayoutEdge edge)
{
    switch (edge) {
    case LayoutEdge::Left:
    case LayoutEdge::Leading: return r.left();
    case LayoutEdge::Right:
    case LayoutEdge::Trailing: return r.right();
    case LayoutEdge::Top: return r.top();
    case LayoutEdge::Bottom: return r.bottom();
    case LayoutEdge::Width: return r.width();
    case LayoutEdge::Height: return r.height();
    }
    return 0;
}

double relationValue(const LayoutRelation &relation, Resolution &state)
{
    if (relation.target.isNull())
        return relation.constant;
    return edgeValue(rectInRoot(relation.target.view, state), relation.target.edge) * relation.multiplier + relation.constant;
}

enum class Role { Start, End, Size, None };

Role roleOf(LayoutEdge edge, Axis axis)
{
    if (axis == Axis::Horizontal) {
        switch (edge) {
        case LayoutEdge::Left:
        case LayoutEdge::Leading: return Role::Start;
        case LayoutEdge::Right:
        case LayoutEdge::Trailing: return Role::End;
        case LayoutEdge::Width: return Role::Size;
        default: return Role::None;
        }
    }
    switch (edge) {
    case LayoutEdge::Top: return Role::Start;
    case LayoutEdge::Bottom: return Role::End;
    case LayoutEdge::Height: return Role::Size;
    default: return Role::None;
    }
}

// Resolves one axis of a view placed by relations; returns (start, length).
std::pair<double, double> resolveAxis(QWidget *item, Axis axis, double currentStart, double currentLength,
                                      double rootLength, Resolution &state)
{
    const LayoutData *data = LayoutData::find(item);
    std::optional<double> start, end, size;
    const LayoutRelation *startRelation = nullptr, *endRelation = nullptr, *sizeRelation = nullptr;
    QList<const LayoutRelation *> candidates;

    for (const LayoutRelation &relation : data->relations) {
        const Role role = roleOf(relation.edge, axis);
        if (role == Role::None)
            continue;
        if (relation.target.view == item) {
            state.dropped.append({item, relation, relation.constant == 0
                                                      ? QStringLiteral("ties the view to itself (holds, places nothing)")
                                                      : QStringLiteral("ties the view to itself with a non-zero constant (can never hold)")});
            continue;
        }
        const double value = relationValue(relation, state);
        auto take = [&](std::optional<double> &slot, const LayoutRelation *&holder) {
            if (slot) {
                state.dropped.append({item, relation, QStringLiteral("a second relation for the same edge")});
                return;
            }
            slot = value;
            holder = &relation;
        };
        if (role == Role::Start)
            take(start, startRelation);
        else if (role == Role::End)
            take(end, endRelation);
        else
            take(size, sizeRelation);
    }

    struct Option {
        double start, length;
        bool usesStart, usesEnd, usesSize;
    };
    QList<Option> options;
    if (start && size)
        options.append({*start, *size, true, false, true});
    if (start && end)
        options.append({*start, *end - *start, true, true, false});
    if (end && size)
        options.append({*end - *size, *size, false, true, true});
    if (start)
        options.append({*start, currentLength, true, false, false});
    if (end)
        options.append({*end - currentLength, currentLength, false, true, false});
    if (size)
        options.append({currentStart, *size, false, false, true});
    options.append({currentStart, currentLength, false, false, false});

    constexpr double Tolerance = 0.5;
    const Option *chosen = nullptr;
    for (const Option &option : options) {
        if (option.length > 0 && option.start >= -Tolerance && option.start + option.length <= rootLength + Tolerance) {
            chosen = &option;
            break;
        }
    }
    Option fitted{};
    QString reason = QStringLiteral("conflicts with the relations kept for this axis");
    if (!chosen) {
        for (const Option &option : options) {
            if (option.length > 0) {
                fitted = option;
                fitted.length = qMin(fitted.length, rootLength);
                fitted.start = qBound(0.0, fitted.start, rootLength - fitted.length);
                chosen = &fitted;
                reason = QStringLiteral("would place the view outside the root view");
                break;
            }
        }
        if (!chosen) {
            fitted = {currentStart, qMax(0.0, currentLength), false, false, false};
            chosen = &fitted;
        }
    }
    const auto report = [&](const LayoutRelation *relation, bool used, const QString &why) {
        if (relation && !used)
            state.dropped.append({item, *relation, why});
    };
    report(startRelation, chosen->usesStart, reason);
    report(endRelation, chosen->usesEnd, reason);
    report(sizeRelation, chosen->usesSize, sizeRelation && *size <= 0 ? QStringLiteral("asks for a size that is not positive") : reason);
    return {chosen->start, chosen->length};
}

void resolveView(QWidget *item, Resolution &state)
{
    LayoutData *data = LayoutData::find(item);
    if (data && !data->relations.isEmpty()) {
        const QRectF current = rectInRoot(item, state);
        QRectF result;
        if (data->translatesFrame) {
            // The frame places the view; explicit relations that disagree with it give way.
            result = current;
            if (data->hasFrame)
                result = QRectF(current.topLeft() - QPointF(item->geometry().topLeft()) + data->frame.topLeft(), data->frame.size());
            state.resolved.insert(item, result);
            for (const LayoutRelation &relation : data->relations) {
                const double wanted = relationValue(relation, state);
                if (std::abs(edgeValue(result, relation.edge) - wanted) > 0.5)
                    state.dropped.append({item, relation, QStringLiteral("disagrees with the view's frame")});
            }
        } else {
            const QSizeF root = state.root->size();
            const auto [x, width] = resolveAxis(item, Axis::Horizontal, current.x(), current.width(), root.width(), state);
            const auto [y, height] = resolveAxis(item, Axis::Vertical, current.y(), current.height(), root.height(), state);
            result = QRectF(x, y, width, height);
            state.resolved.insert(item, result);
            const QRectF parentInRoot = item->parentWidget() ? rectInRoot(item->parentWidget(), state) : QRectF();
            item->setGeometry(rounded(result.translated(-parentInRoot.topLeft())));
        }
    }
    for (QObject *child : item->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child); widget && !widget->isWindow())
            resolveView(widget, state);
    }
}

} // namespace

QList<DroppedRelation> LayoutResolver::resolve(QWidget *root)
{
    Resolution state{root, {}, {}};
    for (QObject *child : root->children()) {
        if (auto *widget = qobject_cast<QWidget *>(child); widget && !widget->isWindow())
            resolveView(widget, state);
    }
    return state.dropped;
}

} // namespace pelbrook
