// Every caption of the window is drawn whole, at the scale the test runs at (QT_SCALE_FACTOR;
// CMake runs it at 100, 125, 150 and 200 %) and with each Simplified Chinese font the program
// looks for: no label, check box, group box or button cuts a stroke off its text, and no control
// lying over a caption hides part of it.
#include "window/appearance.h"
#include "window/form1.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

using window::Form1;

namespace {

const QStringList kFonts{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei")};

// Every control with a caption, as the control table names them.
QStringList captioned() {
    QStringList names{"Frame1", "Frame2",   "Frame3",   "Check1",   "Check2",
                      "Check3", "Command1", "Command2", "Command3", "Command4"};
    for (int n = 1; n <= 23; ++n) {
        names << QStringLiteral("Label%1").arg(n);
    }
    return names;
}

QString captionOf(const QWidget* w) {
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
        return box->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    return qobject_cast<const QLabel*>(w)->text();
}

// The control alone, without the controls it holds, at the screen's scale.
QImage grabbed(QWidget* w) {
    QImage image(w->size() * w->devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(w->devicePixelRatio());
    image.fill(Qt::transparent);
    w->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
    return image;
}

// The device pixels of a control that its caption's ink covers, as the control draws it: what
// changes when the text alone turns transparent. Frame lines, check marks and button faces
// are drawn in other colours and stay.
QList<QPoint> captionInk(QWidget* w) {
    const QImage shown = grabbed(w);
    const QPalette palette = w->palette();
    QPalette invisible = palette;
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText}) {
        invisible.setColor(role, Qt::transparent);
    }
    w->setPalette(invisible);
    const QImage hidden = grabbed(w);
    w->setPalette(palette);

    QList<QPoint> ink;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != hidden.pixel(x, y)) {
                ink << QPoint(x, y);
            }
        }
    }
    return ink;
}

QRect boundsOf(const QList<QPoint>& points) {
    QRect bounds;
    for (const QPoint& p : points) {
        bounds |= QRect(p, QSize(1, 1));
    }
    return bounds;
}

// The same text in the same font at the same scale, drawn where nothing can cut it off. It
// starts on a whole device pixel, as the controls' own text does.
QRect freeInk(const QString& text, const QFont& font, qreal scale) {
    constexpr int kMargin = 40; // logical pixels: a whole number of device pixels at every scale
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(text) + 2 * kMargin,
                      metrics.height() + 2 * kMargin);
    QImage image((size * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(kMargin, kMargin + 20), text);
    painter.end();
    QList<QPoint> ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                ink << QPoint(x, y);
            }
        }
    }
    return boundsOf(ink);
}

} // namespace

class CaptionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void drawnWhole_data();
    void drawnWhole();

private:
    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<Form1> form_;
    QFont applicationFont_;
    qreal scale_ = 1;
};

void CaptionTest::initTestCase() {
    appearance_ = std::make_unique<window::Appearance>();
    applicationFont_ = QApplication::font();
    scale_ = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble();
    for (const QString& family : kFonts) {
        QVERIFY2(QFontDatabase::hasFamily(family),
                 qPrintable(family + QStringLiteral(" is not installed")));
    }
}

void CaptionTest::cleanupTestCase() {
    appearance_.reset();
}

// Each row builds its window in its own font, as a system with only that font would.
void CaptionTest::init() {
    QFETCH(QString, family);
    QFont font = applicationFont_;
    font.setFamilies({family});
    QApplication::setFont(font);
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void CaptionTest::cleanup() {
    form_.reset();
    QApplication::setFont(applicationFont_);
}

void CaptionTest::drawnWhole_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("name");
    for (const QString& family : kFonts) {
        for (const QString& name : captioned()) {
            QTest::addRow("%s %s", qPrintable(family), qPrintable(name)) << family << name;
        }
    }
}

void CaptionTest::drawnWhole() {
    QFETCH(QString, family);
    QFETCH(QString, name);
    QWidget* const w = form_->findChild<QWidget*>(name);
    QVERIFY(w != nullptr);
    QCOMPARE(QFontInfo(w->font()).family(), family);
    QCOMPARE(w->devicePixelRatioF(), scale_);

    const QList<QPoint> ink = captionInk(w);
    const QRect drawn = boundsOf(ink);
    const QRect whole = freeInk(captionOf(w), w->font(), scale_);
    QVERIFY(!whole.isEmpty());
    // A cut takes at least the row or column of ink along the edge that cuts it.
    QVERIFY2(drawn.height() == whole.height() && qAbs(drawn.width() - whole.width()) <= 1,
             qPrintable(QStringLiteral("%1 draws %2 × %3 device pixels of its caption's %4 × %5")
                            .arg(name)
                            .arg(drawn.width())
                            .arg(drawn.height())
                            .arg(whole.width())
                            .arg(whole.height())));

    // Nothing lying over the control hides its caption.
    QStringList hiding;
    for (const QPoint& p : ink) {
        const QPoint logical(static_cast<int>((p.x() + 0.5) / scale_),
                             static_cast<int>((p.y() + 0.5) / scale_));
        const QWidget* const top = form_->childAt(w->mapTo(form_.get(), logical));
        const QString over = top == nullptr ? form_->objectName() : top->objectName();
        if (top != w && !hiding.contains(over)) {
            hiding << over;
        }
    }
    QVERIFY2(hiding.isEmpty(),
             qPrintable(name + QStringLiteral(" lies under ") + hiding.join(QStringLiteral(", "))));
}

QTEST_MAIN(CaptionTest)
#include "caption_test.moc"
