#include "settings/playlisttab.h"

#include "playlistfiles/playlistwriter.h"
#include "storage/filedialogfolder.h"
#include "storage/playliststore.h"
#include "ui_setWindow.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>

playlistTab::playlistTab(Ui::setWindow *form, QWidget *owner)
    : QObject(owner), ui(form), window(owner)
{
    // The tab works now: the notice that covered it goes.
    ui->label_6->hide();
    appendButton = new QPushButton(tr("追加で読み込む"), ui->groupBox);
    appendButton->setObjectName(QStringLiteral("append_button"));
    appendButton->setGeometry(190, 20, 151, 23);
    exportButton = new QPushButton(tr("書き出す…"), ui->groupBox_2);
    exportButton->setObjectName(QStringLiteral("export_button"));
    exportButton->setGeometry(234, 20, 111, 23);
    exportButton->setToolTip(tr("選択したプレイリストを M3U8 か XSPF で書き出します"));
    renameButton = new QPushButton(tr("名前を変更する"), ui->groupBox_3);
    renameButton->setObjectName(QStringLiteral("rename_button"));
    renameButton->setGeometry(190, 20, 151, 23);
    renameButton->setToolTip(tr("選択したプレイリストの名前を「保存する名前を指定」の名前に変えます"));

    connect(ui->playlistlist, &QListWidget::currentRowChanged, this, &playlistTab::showContents);
    connect(ui->load_button, &QPushButton::clicked, this, [this] { load(false); });
    connect(appendButton, &QPushButton::clicked, this, [this] { load(true); });
    connect(ui->overwrite_save_button, &QPushButton::clicked, this, &playlistTab::overwrite);
    connect(ui->delete_button, &QPushButton::clicked, this, &playlistTab::remove);
    connect(renameButton, &QPushButton::clicked, this, &playlistTab::rename);
    connect(exportButton, &QPushButton::clicked, this, &playlistTab::exportSelected);
    askExportPath = [this] {
        const QString fileName = selectedName() + QStringLiteral(".m3u8");
        const QString start = dialogFolder ? dialogFolder->startPath(fileName) : fileDialogFolder().startPath(fileName);
        const QString path = QFileDialog::getSaveFileName(window, tr("プレイリストを書き出す"), start,
                                                          tr("M3U8 プレイリスト (*.m3u8);;XSPF プレイリスト (*.xspf)"));
        if (dialogFolder)
            dialogFolder->remember(path);
        return path;
    };
    refresh();
}

QString playlistTab::selectedName() const
{
    const QListWidgetItem *item = ui->playlistlist->currentItem();
    return item ? item->text() : QString();
}

void playlistTab::select(const QString &name)
{
    const QList<QListWidgetItem *> found = ui->playlistlist->findItems(name, Qt::MatchExactly);
    ui->playlistlist->setCurrentItem(found.isEmpty() ? nullptr : found.first());
    showContents();
}

void playlistTab::refresh()
{
    const QString selected = selectedName();
    {
        const QSignalBlocker quiet(ui->playlistlist);
        ui->playlistlist->clear();
        ui->playlistlist->addItems(playlistStore::names());
    }
    select(selected);
}

void playlistTab::showContents()
{
    ui->playlist_contents->clear();
    const QString name = selectedName();
    if (name.isEmpty()) {
        // Nothing chosen, nothing to count.
        ui->label_allcount->clear();
        ui->label_alltime->clear();
        return;
    }
    const QList<storedTrack> tracks = playlistStore::entries(name, true);
    qint64 total = 0;
    QStringList lines;
    lines.reserve(tracks.size());
    for (const storedTrack &track : tracks) {
        const QString title = track.title.isEmpty() ? QFileInfo(track.file).completeBaseName() : track.title;
        QString line = track.artist.isEmpty() ? title : title + QStringLiteral(" - ") + track.artist;
        if (track.lengthMsec > 0) {
            line += QStringLiteral(" (") + musicInfo::msecToString(track.lengthMsec) + QLatin1Char(')');
            total += track.lengthMsec;
        }
        if (!QFileInfo::exists(track.file))
            line.prepend(tr("［見つかりません］"));
        lines << line;
    }
    ui->playlist_contents->addItems(lines);
    ui->label_allcount->setText(tr("%n 曲", nullptr, tracks.size()));
    ui->label_alltime->setText(musicInfo::msecToString(total));
}

void playlistTab::load(bool append)
{
    const QString name = selectedName();
    if (name.isEmpty()) {
        warn(tr("プレイリスト選択エラー"), tr("読み込むプレイリストを選択して下さい。"));
        return;
    }
    emit loadRequested(playlistStore::entries(name), append, name);
}

void playlistTab::overwrite()
{
    const QString name = selectedName();
    if (name.isEmpty()) {
        warn(tr("プレイリスト選択エラー"), tr("上書きするプレイリストを選択して下さい。"));
        return;
    }
    const QList<storedTrack> tracks = currentEntries();
    if (!confirm(tr("プレイリストの上書き"),
                 tr("プレイリスト「%1」を現在のプレイリストで上書きします。よろしいですか？").arg(name)))
        return;
    if (!playlistStore::save(name, tracks))
        warn(tr("プレイリスト保存エラー"), tr("プレイリスト「%1」を保存できませんでした。").arg(name));
    showContents();
}

void playlistTab::remove()
{
    const QString name = selectedName();
    if (name.isEmpty()) {
        warn(tr("プレイリスト選択エラー"), tr("削除するプレイリストを選択して下さい。"));
        return;
    }
    QString text = tr("プレイリスト「%1」を削除します。よろしいですか？").arg(name);
    const int alarms = alarmsNaming ? alarmsNaming(name) : 0;
    if (alarms > 0)
        text += QLatin1Char('\n')
            + tr("このプレイリストを使うアラームが %n 件あります。それらのアラームは標準プレイリストで鳴ります。",
                 nullptr, alarms);
    if (!confirm(tr("プレイリストの削除"), text))
        return;
    if (!playlistStore::remove(name))
        warn(tr("プレイリスト削除エラー"), tr("プレイリスト「%1」を削除できませんでした。").arg(name));
    refresh();
    emit namesChanged();
}

void playlistTab::rename()
{
    const QString from = selectedName();
    const QString to = ui->playlist_add_name->text();
    if (from.isEmpty()) {
        warn(tr("プレイリスト選択エラー"), tr("名前を変えるプレイリストを選択して下さい。"));
        return;
    }
    const QString problem = playlistStore::nameProblem(to);
    if (!problem.isEmpty()) {
        warn(tr("プレイリスト名エラー"), problem);
        return;
    }
    if (to == from)
        return;
    if (playlistStore::exists(to)) {
        warn(tr("プレイリスト名エラー"), tr("プレイリスト「%1」はすでにあります。").arg(to));
        return;
    }
    if (!playlistStore::rename(from, to)) {
        warn(tr("プレイリスト名エラー"), tr("プレイリスト「%1」の名前を変えられませんでした。").arg(from));
        return;
    }
    refresh();
    select(to);
    emit renamed(from, to);
}

void playlistTab::saveNew()
{
    const QString name = ui->playlist_add_name->text();
    const QString problem = playlistStore::nameProblem(name);
    if (!problem.isEmpty()) {
        warn(tr("プレイリスト保存エラー"), problem);
        return;
    }
    const QList<storedTrack> tracks = currentEntries();
    if (playlistStore::exists(name)
        && !confirm(tr("プレイリストの上書き"),
                    tr("プレイリスト「%1」はすでにあります。上書きしますか？").arg(name)))
        return;
    if (!playlistStore::save(name, tracks)) {
        warn(tr("プレイリスト保存エラー"), tr("プレイリスト「%1」を保存できませんでした。").arg(name));
        return;
    }
    refresh();
    select(name);
    emit namesChanged();
}

void playlistTab::exportSelected()
{
    const QString name = selectedName();
    if (name.isEmpty()) {
        warn(tr("プレイリスト選択エラー"), tr("書き出すプレイリストを選択して下さい。"));
        return;
    }
    const QString path = askExportPath ? askExportPath() : QString();
    if (path.isEmpty())
        return;
    if (!playlistWriter::write(path, playlistStore::entries(name, true)))
        warn(tr("プレイリスト書き出しエラー"), tr("%1 に書き出せませんでした。").arg(path));
}

QList<storedTrack> playlistTab::currentEntries() const
{
    QList<storedTrack> entries = playlistStore::toStored(currentTracks ? currentTracks() : QList<musicInfo *>());
    if (stillComing)
        entries += stillComing();
    return entries;
}

bool playlistTab::confirm(const QString &title, const QString &text)
{
    return QMessageBox::question(window, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void playlistTab::warn(const QString &title, const QString &text)
{
    QMessageBox::warning(window, title, text, QMessageBox::Ok);
}
