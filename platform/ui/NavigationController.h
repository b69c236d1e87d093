#pragma once

#include <pelbrook/ViewController.h>

#include <QColor>
#include <QWidget>

class QLabel;
class QToolButton;

namespace pelbrook {

/**
 * Wraps one screen with a navigation bar showing the screen's title and its left bar button.
 * The screen's root view fills the area below the bar. Owns the screen. Drawn in the
 * screens' own palette (black text on white), whatever the host's.
 */
class NavigationController : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 44;

    /// Takes ownership of @p rootViewController.
    explicit NavigationController(ViewController *rootViewController, QWidget *parent = nullptr);

    ViewController *rootViewController() const { return m_root; }

    /// The navigation bar (object name `navigationBar`). Like everything a wrapper shows, it is
    /// made when the wrapper is first shown, or before when its screen's root view is made:
    /// null until then.
    QWidget *navigationBar() const { return m_bar; }
    /// The left bar button, or null when the screen has none or the wrapper was never shown.
    QToolButton *leftButton() const { return m_leftButton; }

    /// An opaque bar is drawn in its bar colour; a translucent one lets the content colour
    /// show through it.
    void setTranslucent(bool translucent);
    bool isTranslucent() const { return m_translucent; }
    void setBarTintColor(const QColor &color);

    /// The rectangle below the bar; the root view sits at its origin and fills it.
    QRect contentRect() const;

    /// Puts the screen's root view below the bar (making the bar first, if needed) and shows it
    /// with the wrapper. The screen calls it once its root view is made and filled, whatever
    /// made it: the wrapper's first showing, or a host's call before that (a busy overlay, a
    /// payment), which would otherwise leave the view in no window and the tab blank.
    void placeRootView();

    /// None: the bar and the screen take whatever room the container gives, and the wrapper
    /// holds its window no taller and no wider than it is.
    QSize sizeHint() const override { return {}; }
    QSize minimumSizeHint() const override { return {}; }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void build();
    void updateLeftButton();
    void updateBarStyle();

    ViewController *m_root;
    QWidget *m_bar = nullptr;
    QWidget *m_content = nullptr;
    QLabel *m_titleLabel = nullptr;
    QToolButton *m_leftButton = nullptr;
    bool m_translucent = true;
    QColor m_barTintColor = QColor(248, 248, 248);
};

} // namespace pelbrook
