#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QWidget>

namespace pelbrook {

enum class LayoutEdge { Left, Right, Top, Bottom, Leading, Trailing, Width, Height };

/// An edge or dimension of a view, to relate another view to. A null view means "none".
struct LayoutAnchor {
    QPointer<QWidget> view;
    LayoutEdge edge = LayoutEdge::Left;

    bool isNull() const { return view.isNull(); }
};

/// item.edge = target.edge × multiplier + constant; or = constant when there is no target.
struct LayoutRelation {
    LayoutEdge edge = LayoutEdge::Left;
    LayoutAnchor target;
    double multiplier = 1.0;
    double constant = 0.0;
};

/**
 * The layout data a view carries: its frame as the code set it, whether that frame still
 * places it, and the relations asked of it, kept in the order they were made.
 */
class LayoutData : public QObject
{
    Q_OBJECT
public:
    static LayoutData *of(QWidget *view);
    static LayoutData *find(const QWidget *view);

    /// While true (the default), the view is placed by its frame.
    bool translatesFrame = true;
    /// The frame in the parent's coordinates, with the fractions the code gave.
    QRectF frame;
    bool hasFrame = false;
    QList<LayoutRelation> relations;

private:
    explicit LayoutData(QWidget *view);
};

LayoutAnchor leftAnchor(QWidget *view);
LayoutAnchor rightAnchor(QWidget *view);
LayoutAnchor topAnchor(QWidget *view);
LayoutAnchor bottomAnchor(QWidget *view);
LayoutAnchor leadingAnchor(QWidget *view);
LayoutAnchor trailingAnchor(QWidget *view);
LayoutAnchor widthAnchor(QWidget *view);
LayoutAnchor heightAnchor(QWidget *view);
/// The edges of the part of the view that no bar covers. Checkout views sit between the bars,
/// so these equal the view's own edges.
LayoutAnchor safeTopAnchor(QWidget *view);
LayoutAnchor safeLeftAnchor(QWidget *view);
LayoutAnchor safeBottomAnchor(QWidget *view);
LayoutAnchor safeRightAnchor(QWidget *view);

/// Sets a view's frame (in its parent's coordinates), keeping fractional values.
void setFrame(QWidget *view, const QRectF &frame);

/// Adds item.edge = target × multiplier + constant.
void addRelation(QWidget *item, LayoutEdge edge, const LayoutAnchor &target, double constant = 0.0,
                 double multiplier = 1.0);
/// Adds a fixed width or height.
void addSizeRelation(QWidget *item, LayoutEdge edge, double constant);

/// Forgets the frames and relations of every view under @p root (not of @p root itself), so
/// that a new layout pass can ask for them afresh.
void clearLayout(QWidget *root);

/**
 * Pins a view's edges and size in one call, and stops its frame from placing it. The top and
 * left paddings are added; the bottom padding is added too (a positive value puts the bottom
 * edge below the reference); the right padding is subtracted (a positive value keeps the right
 * edge inside the reference). A width or height of exactly 0 makes no size relation. Null
 * anchors make no relation.
 */
void setAnchor(QWidget *view, const LayoutAnchor &top, const LayoutAnchor &left, const LayoutAnchor &bottom,
               const LayoutAnchor &right, double paddingTop, double paddingLeft, double paddingBottom,
               double paddingRight, double width = 0, double height = 0);

/// The card-like shadow preset: dark grey, offset (0, 1), opacity 1, radius 1, corner radius 15,
/// no clipping.
void setCellShadow(QWidget *view);

/// A relation the resolver did not use, and why.
struct DroppedRelation {
    QPointer<QWidget> item;
    LayoutRelation relation;
    QString reason;
};

/**
 * Computes frames from the layout data of a view tree.
 *
 * Many relations a screen asks for cannot hold together; the resolver keeps a deterministic
 * subset, in this order of precedence:
 *
 * 1. A view that is still placed by its frame keeps its frame exactly; its explicit relations
 *    that disagree with the frame are dropped.
 * 2. A relation to the view's own edge places nothing: with a constant of 0 it holds anyway,
 *    with another constant it never can; both are dropped.
 * 3. Per axis, from the start edge (left/leading, top), the end edge (right/trailing, bottom)
 *    and the size, the first of these combinations that gives a positive size and keeps the
 *    view inside the root view wins: start + size, start + end, end + size, start alone (with
 *    the current size), end alone, size alone (at the current position). The relations it
 *    does not use are dropped. When no combination fits, the first one with a positive size is
 *    moved, then shrunk, to fit inside the root view.
 * 4. Views are resolved parents first and siblings in the order they were added, so a relation
 *    to an earlier view sees that view's resolved frame.
 */
class LayoutResolver
{
public:
    /// Resolves and applies the frames of every view under @p root; returns what was dropped.
    static QList<DroppedRelation> resolve(QWidget *root);
};

} // namespace pelbrook
