// Drags a file onto another window as a file manager does, for the Wine tests: a small window at the
// top left of the screen that, pressed, starts a drag of the file (XDND on X11, which Wine hands its
// windows as WM_DROPFILES). A test presses it and moves the pointer onto the window under test.
//
//   drag_source FILE
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

namespace {

class DragSource : public QWidget {
public:
    explicit DragSource(QString file)
        : m_file(std::move(file))
    {
        setWindowTitle(QStringLiteral("drag source"));
        setFixedSize(120, 80);
        move(0, 0);
    }

protected:
    void mousePressEvent(QMouseEvent *) override
    {
        auto *mime = new QMimeData;
        mime->setUrls({QUrl::fromLocalFile(m_file)});
        auto *drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

private:
    QString m_file;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (QApplication::arguments().size() != 2)
        return 2;
    DragSource source(QApplication::arguments().at(1));
    source.show();
    return QApplication::exec();
}
