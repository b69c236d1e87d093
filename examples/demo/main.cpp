// The demo: a small merchant application that takes one payment through the checkout.
#include <pelbrook/PGTabBarViewController.h>

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    auto *checkout = new pelbrook::PGTabBarViewController;
    checkout->setAttribute(Qt::WA_DeleteOnClose);
    checkout->present();
    return app.exec();
}
