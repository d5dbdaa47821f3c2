<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <source>0:00 ／0:00</source>
        <translation>0:00 / 0:00</translation>
    </message>
    <message>
        <source>総曲数：</source>
        <translation>Tracks:</translation>
    </message>
    <message>
        <source>000 曲</source>
        <translation>000 tracks</translation>
    </message>
    <message>
        <source>総時間：</source>
        <translation>Total time:</translation>
    </message>
    <message>
        <source>000:00:000</source>
        <translation>000:00:000</translation>
    </message>
    <message>
        <source>No : musicTitle</source>
        <translation>No : musicTitle</translation>
    </message>
    <message>
        <source>vol:00</source>
        <translation>vol:00</translation>
    </message>
    <message>
        <source>toolBar_2</source>
        <translation>toolBar_2</translation>
    </message>
    <message>
        <source>♪</source>
        <translation>♪</translation>
    </message>
    <message>
        <source>音楽の再生/停止を行います</source>
        <translation>Play or stop the music</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>▲</source>
        <translation>▲</translation>
    </message>
    <message>
        <source>プレイリストを開閉します</source>
        <translation>Show or hide the playlist</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>1曲戻ります</source>
        <translation>Back one track</translation>
    </message>
    <message>
        <source>Ctrl+B</source>
        <translation>Ctrl+B</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>1曲進みます</source>
        <translation>Forward one track</translation>
    </message>
    <message>
        <source>Ctrl+N</source>
        <translation>Ctrl+N</translation>
    </message>
    <message>
        <source>mode</source>
        <translation>mode</translation>
    </message>
    <message>
        <source>現在の再生モードを確認/変更します</source>
        <translation>Show or change the play mode</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Set</source>
        <translation>Set</translation>
    </message>
    <message>
        <source>設定画面を開きます</source>
        <translation>Open the settings</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>プレイリストに曲を追加します</source>
        <translation>Add tracks to the playlist</translation>
    </message>
    <message>
        <source>Ctrl+A</source>
        <translation>Ctrl+A</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>プレイリストから曲を削除します</source>
        <translation>Remove tracks from the playlist</translation>
    </message>
    <message>
        <source>Ctrl+D</source>
        <translation>Ctrl+D</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>プレイリストを空にします</source>
        <translation>Empty the playlist</translation>
    </message>
    <message>
        <source>Ctrl+C</source>
        <translation>Ctrl+C</translation>
    </message>
    <message>
        <source>△</source>
        <translation>△</translation>
    </message>
    <message>
        <source>現在選択中の曲をプレイリストの最上段に移動します</source>
        <translation>Move the selected tracks to the top of the playlist</translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation>Alt+Up</translation>
    </message>
    <message>
        <source>↑</source>
        <translation>↑</translation>
    </message>
    <message>
        <source>現在選択中の曲を一段上に移動します</source>
        <translation>Move the selected tracks up one row</translation>
    </message>
    <message>
        <source>Ctrl+Up</source>
        <translation>Ctrl+Up</translation>
    </message>
    <message>
        <source>↓</source>
        <translation>↓</translation>
    </message>
    <message>
        <source>現在選択中の曲を一段下に移動します</source>
        <translation>Move the selected tracks down one row</translation>
    </message>
    <message>
        <source>Ctrl+Down</source>
        <translation>Ctrl+Down</translation>
    </message>
    <message>
        <source>▽</source>
        <translation>▽</translation>
    </message>
    <message>
        <source>現在選択中の曲をプレイリストの最下段に移動します</source>
        <translation>Move the selected tracks to the bottom of the playlist</translation>
    </message>
    <message>
        <source>Alt+Down</source>
        <translation>Alt+Down</translation>
    </message>
    <message numerus="yes">
        <source>%1 / %n 曲</source>
        <translation>
            <numerusform>%1 / %n track</numerusform>
            <numerusform>%1 / %n tracks</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n 曲</source>
        <translation>
            <numerusform>%n track</numerusform>
            <numerusform>%n tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>‖</source>
        <translation>‖</translation>
    </message>
    <message>
        <source>一時停止/再開します (Space)</source>
        <translation>Pause or resume (Space)</translation>
    </message>
    <message>
        <source>おやすみタイマー</source>
        <translation>Sleep timer</translation>
    </message>
    <message>
        <source>オフ</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>15分</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>30分</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>45分</source>
        <translation>45 min</translation>
    </message>
    <message>
        <source>60分</source>
        <translation>60 min</translation>
    </message>
    <message>
        <source>90分</source>
        <translation>90 min</translation>
    </message>
    <message>
        <source>120分</source>
        <translation>120 min</translation>
    </message>
    <message>
        <source>この曲が終わったら</source>
        <translation>When this track ends</translation>
    </message>
    <message>
        <source>この曲で停止</source>
        <translation>Stop after this track</translation>
    </message>
    <message>
        <source>おやすみ</source>
        <translation>Sleep</translation>
    </message>
    <message>
        <source>検索</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>再開します (Space)</source>
        <translation>Resume (Space)</translation>
    </message>
    <message>
        <source>再開</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>おやすみタイマー：あと %1 で停止</source>
        <translation>Sleep timer: stops in %1</translation>
    </message>
    <message>
        <source>曲まで</source>
        <translation>Track end</translation>
    </message>
    <message>
        <source>おやすみタイマー：この曲が終わったら停止</source>
        <translation>Sleep timer: stops when this track ends</translation>
    </message>
    <message>
        <source>プレイリストエラー</source>
        <translation>Playlist error</translation>
    </message>
    <message>
        <source>プレイリストにファイルが登録されていません。</source>
        <translation>The playlist has no files.</translation>
    </message>
    <message>
        <source>プレイリストで削除するファイルを選択して下さい。</source>
        <translation>Select the files to remove in the playlist.</translation>
    </message>
    <message>
        <source>プレイリスト選択エラー</source>
        <translation>Playlist selection error</translation>
    </message>
    <message>
        <source>プレイリストから再生するファイルを選択して下さい。</source>
        <translation>Select a file to play in the playlist.</translation>
    </message>
    <message>
        <source>▼</source>
        <translation>▼</translation>
    </message>
    <message>
        <source>ファイルを選択して下さい。</source>
        <translation>Choose files</translation>
    </message>
    <message>
        <source>音楽ファイル(%1 );;</source>
        <translation>Music files (%1 );;</translation>
    </message>
    <message>
        <source>プレイリスト(*.m3u *.m3u8 *.pls *.xspf);;すべてのファイル(*)</source>
        <translation>Playlists (*.m3u *.m3u8 *.pls *.xspf);;All files (*)</translation>
    </message>
    <message>
        <source>プレイリストクリア</source>
        <translation>Clear playlist</translation>
    </message>
    <message>
        <source>プレイリストをクリアします。よろしいですか？</source>
        <translation>The playlist will be cleared. Are you sure?</translation>
    </message>
    <message>
        <source>ログイン時に起動</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>アラームはVurnが動いている間だけ鳴ります。
ログイン時にVurnをトレイで起動しますか？</source>
        <translation>Alarms ring only while Vurn is running.
Start Vurn in the tray when you log in?</translation>
    </message>
    <message>
        <source>ログアウトすると鳴りません</source>
        <translation>Will not ring once you log out</translation>
    </message>
    <message>
        <source>戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Vurn - アラーム</source>
        <translation>Vurn - Alarm</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>プレイリストを読み込めません。</source>
        <translation>The playlist cannot be read.</translation>
    </message>
    <message>
        <source>プレイリストの途中から読み込めません。</source>
        <translation>The rest of the playlist cannot be read.</translation>
    </message>
    <message>
        <source>ファイル名に使えない文字が含まれています。</source>
        <translation>The file name holds characters that cannot be used.</translation>
    </message>
    <message>
        <source>ファイル以外の URL は追加できません。</source>
        <translation>Only file URLs can be added.</translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>フォルダはプレイリストから追加できません。</source>
        <translation>Folders cannot be added from a playlist.</translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation>Not a regular file.</translation>
    </message>
    <message>
        <source>プレイリストの中のプレイリストは追加できません。</source>
        <translation>A playlist inside a playlist cannot be added.</translation>
    </message>
    <message>
        <source>（いまのプレイリストで鳴らします）</source>
        <translation> (ringing with the current playlist)</translation>
    </message>
    <message>
        <source>プレイリスト「%1」が見つかりません</source>
        <translation>Playlist “%1” cannot be found</translation>
    </message>
    <message>
        <source>プレイリスト「%1」は空です</source>
        <translation>Playlist “%1” is empty</translation>
    </message>
    <message>
        <source>プレイリスト「%1」の曲がどれも見つかりません</source>
        <translation>None of the tracks of playlist “%1” can be found</translation>
    </message>
    <message>
        <source>名前が空です。</source>
        <translation>The name is empty.</translation>
    </message>
    <message>
        <source>名前に「/」や「\」は使えません。</source>
        <translation>A name cannot contain “/” or “\”.</translation>
    </message>
    <message>
        <source>「.」で始まる名前は使えません。</source>
        <translation>A name cannot begin with “.”.</translation>
    </message>
    <message>
        <source>名前に制御文字は使えません。</source>
        <translation>A name cannot contain control characters.</translation>
    </message>
    <message>
        <source>名前が長すぎます。</source>
        <translation>The name is too long.</translation>
    </message>
    <message>
        <source>戻せるプレイリストはありません</source>
        <translation>No playlist to go back to</translation>
    </message>
    <message numerus="yes">
        <source>のプレイリスト（%n 曲）</source>
        <translation>
            <numerusform>the playlist (%n track)</numerusform>
            <numerusform>the playlist (%n tracks)</numerusform>
        </translation>
    </message>
    <message>
        <source>の空のプレイリスト</source>
        <translation>the empty playlist</translation>
    </message>
    <message>
        <source>アラームが鳴らす前%1に戻します</source>
        <translation>Go back to %1 from before the alarm</translation>
    </message>
    <message>
        <source>「%1」を読み込む前%2に戻します</source>
        <translation>Go back to %2 from before “%1” was loaded</translation>
    </message>
    <message>
        <source>クリアする前%1に戻します</source>
        <translation>Go back to %1 from before clearing</translation>
    </message>
    <message>
        <source>「戻す」の前%1に戻します</source>
        <translation>Go back to %1 from before “Undo”</translation>
    </message>
</context>
<context>
    <name>alarmRingWindow</name>
    <message>
        <source>Vurn - アラーム</source>
        <translation>Vurn - Alarm</translation>
    </message>
    <message>
        <source>音声がミュートされています。</source>
        <translation>The sound is muted.</translation>
    </message>
    <message>
        <source>ミュート解除</source>
        <translation>Unmute</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>スヌーズ</source>
        <translation>Snooze</translation>
    </message>
</context>
<context>
    <name>alarmRinger</name>
    <message>
        <source>アラーム音</source>
        <translation>Alarm tone</translation>
    </message>
</context>
<context>
    <name>alarmSchedule</name>
    <message>
        <source>次のアラーム（未保存）：</source>
        <translation>Next alarm (not saved): </translation>
    </message>
    <message>
        <source>次のアラーム：</source>
        <translation>Next alarm: </translation>
    </message>
    <message>
        <source>なし</source>
        <translation>none</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>火</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>水</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>木</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>土</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>%1/%2(%3) %4</source>
        <translation>%3 %1/%2 %4</translation>
    </message>
</context>
<context>
    <name>alarm_set_window</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>時間設定</source>
        <translation>Times</translation>
    </message>
    <message>
        <source>個、アラームを設定する</source>
        <translation>alarms in all</translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation>HH:mm</translation>
    </message>
    <message>
        <source>から、</source>
        <translation>onwards, every</translation>
    </message>
    <message>
        <source>分毎に、</source>
        <translation>minutes,</translation>
    </message>
    <message>
        <source>曜日設定</source>
        <translation>Weekdays</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>火</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>水</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>木</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>土</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>月～金</source>
        <translation>Mon–Fri</translation>
    </message>
    <message>
        <source>土日</source>
        <translation>Sat, Sun</translation>
    </message>
    <message>
        <source>全曜日</source>
        <translation>Every day</translation>
    </message>
    <message>
        <source>再生設定</source>
        <translation>Playback</translation>
    </message>
    <message>
        <source>再生モード</source>
        <translation>Play mode</translation>
    </message>
    <message>
        <source>再生プレイリスト</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>選択している曲から再生する</source>
        <translation>Start with the selected track</translation>
    </message>
    <message>
        <source>再生中でも割込再生する</source>
        <translation>Interrupt a playing track</translation>
    </message>
    <message>
        <source>音量操作</source>
        <translation>Volume control</translation>
    </message>
    <message>
        <source>音量指定</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>Vurn Settings - アラーム一括設定</source>
        <translation>Vurn Settings - Alarms in bulk</translation>
    </message>
</context>
<context>
    <name>findBar</name>
    <message>
        <source>曲名・アーティスト・アルバムで検索</source>
        <translation>Find by title, artist or album</translation>
    </message>
    <message>
        <source>×</source>
        <translation>×</translation>
    </message>
    <message>
        <source>検索を閉じます (Esc)</source>
        <translation>Close the search (Esc)</translation>
    </message>
    <message>
        <source>該当する曲はありません</source>
        <translation>No matching tracks</translation>
    </message>
    <message numerus="yes">
        <source>%n 曲</source>
        <translation>
            <numerusform>%n track</numerusform>
            <numerusform>%n tracks</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>loadReport</name>
    <message>
        <source>ファイル読み込みエラー</source>
        <translation>File read error</translation>
    </message>
    <message>
        <source>ファイル情報が読み取れませんでした。</source>
        <translation>The file information could not be read.</translation>
    </message>
    <message numerus="yes">
        <source>%n 個のファイルが読み取れなかったため、追加しませんでした。</source>
        <translation>
            <numerusform>%n file could not be read and was not added.</numerusform>
            <numerusform>%n files could not be read and were not added.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>ほか %n 個</source>
        <translation>
            <numerusform>and %n more</numerusform>
            <numerusform>and %n more</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Vurn：アラーム時計つきの音楽プレーヤー</source>
        <translation>Vurn: a music player with an alarm clock</translation>
    </message>
    <message>
        <source>トレイで起動する（トレイのない環境では最小化して起動）。</source>
        <translation>Start in the tray (minimised where there is none).</translation>
    </message>
    <message>
        <source>プレイリストに追加するファイルまたはフォルダ。</source>
        <translation>Files or folders to add to the playlist.</translation>
    </message>
    <message>
        <source>[パス...]</source>
        <translation>[paths...]</translation>
    </message>
</context>
<context>
    <name>musicInfo</name>
    <message>
        <source>この形式のファイルは読み込めません。</source>
        <translation>Files of this format cannot be read.</translation>
    </message>
    <message>
        <source>再生時間を読み取れません。</source>
        <translation>The length cannot be read.</translation>
    </message>
    <message>
        <source>タグ情報を読み取れません。</source>
        <translation>The tags cannot be read.</translation>
    </message>
    <message>
        <source>再生時間が正しくありません。ファイルが壊れている可能性があります。</source>
        <translation>The length is wrong. The file may be damaged.</translation>
    </message>
</context>
<context>
    <name>playListModel</name>
    <message>
        <source>曲名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>playlistTab</name>
    <message>
        <source>追加で読み込む</source>
        <translation>Load and add</translation>
    </message>
    <message>
        <source>書き出す…</source>
        <translation>Export…</translation>
    </message>
    <message>
        <source>選択したプレイリストを M3U8 か XSPF で書き出します</source>
        <translation>Export the selected playlist as M3U8 or XSPF</translation>
    </message>
    <message>
        <source>名前を変更する</source>
        <translation>Rename</translation>
    </message>
    <message>
        <source>選択したプレイリストの名前を「保存する名前を指定」の名前に変えます</source>
        <translation>Rename the selected playlist to the name under “Save as”</translation>
    </message>
    <message>
        <source>プレイリストを書き出す</source>
        <translation>Export playlist</translation>
    </message>
    <message>
        <source>M3U8 プレイリスト (*.m3u8);;XSPF プレイリスト (*.xspf)</source>
        <translation>M3U8 playlist (*.m3u8);;XSPF playlist (*.xspf)</translation>
    </message>
    <message>
        <source>［見つかりません］</source>
        <translation>[missing] </translation>
    </message>
    <message numerus="yes">
        <source>%n 曲</source>
        <translation>
            <numerusform>%n track</numerusform>
            <numerusform>%n tracks</numerusform>
        </translation>
    </message>
    <message>
        <source>プレイリスト選択エラー</source>
        <translation>Playlist selection error</translation>
    </message>
    <message>
        <source>読み込むプレイリストを選択して下さい。</source>
        <translation>Select a playlist to load.</translation>
    </message>
    <message>
        <source>上書きするプレイリストを選択して下さい。</source>
        <translation>Select a playlist to overwrite.</translation>
    </message>
    <message>
        <source>プレイリストの上書き</source>
        <translation>Overwrite playlist</translation>
    </message>
    <message>
        <source>プレイリスト「%1」を現在のプレイリストで上書きします。よろしいですか？</source>
        <translation>Playlist “%1” will be overwritten with the current playlist. Are you sure?</translation>
    </message>
    <message>
        <source>プレイリスト保存エラー</source>
        <translation>Playlist save error</translation>
    </message>
    <message>
        <source>プレイリスト「%1」を保存できませんでした。</source>
        <translation>Playlist “%1” could not be saved.</translation>
    </message>
    <message>
        <source>削除するプレイリストを選択して下さい。</source>
        <translation>Select a playlist to delete.</translation>
    </message>
    <message>
        <source>プレイリスト「%1」を削除します。よろしいですか？</source>
        <translation>Playlist “%1” will be deleted. Are you sure?</translation>
    </message>
    <message numerus="yes">
        <source>このプレイリストを使うアラームが %n 件あります。それらのアラームは標準プレイリストで鳴ります。</source>
        <translation>
            <numerusform>%n alarm uses this playlist. It will ring with the standard playlist.</numerusform>
            <numerusform>%n alarms use this playlist. They will ring with the standard playlist.</numerusform>
        </translation>
    </message>
    <message>
        <source>プレイリストの削除</source>
        <translation>Delete playlist</translation>
    </message>
    <message>
        <source>プレイリスト削除エラー</source>
        <translation>Playlist delete error</translation>
    </message>
    <message>
        <source>プレイリスト「%1」を削除できませんでした。</source>
        <translation>Playlist “%1” could not be deleted.</translation>
    </message>
    <message>
        <source>名前を変えるプレイリストを選択して下さい。</source>
        <translation>Select a playlist to rename.</translation>
    </message>
    <message>
        <source>プレイリスト名エラー</source>
        <translation>Playlist name error</translation>
    </message>
    <message>
        <source>プレイリスト「%1」はすでにあります。</source>
        <translation>Playlist “%1” already exists.</translation>
    </message>
    <message>
        <source>プレイリスト「%1」の名前を変えられませんでした。</source>
        <translation>Playlist “%1” could not be renamed.</translation>
    </message>
    <message>
        <source>プレイリスト「%1」はすでにあります。上書きしますか？</source>
        <translation>Playlist “%1” already exists. Overwrite it?</translation>
    </message>
    <message>
        <source>書き出すプレイリストを選択して下さい。</source>
        <translation>Select a playlist to export.</translation>
    </message>
    <message>
        <source>プレイリスト書き出しエラー</source>
        <translation>Playlist export error</translation>
    </message>
    <message>
        <source>%1 に書き出せませんでした。</source>
        <translation>Could not export to %1.</translation>
    </message>
</context>
<context>
    <name>ringNotification</name>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>スヌーズ</source>
        <translation>Snooze</translation>
    </message>
</context>
<context>
    <name>ringingDesktop</name>
    <message>
        <source>アラームが鳴っている間、スリープしないように</source>
        <translation>To stay awake while an alarm rings</translation>
    </message>
    <message>
        <source>消音中（鳴る時に解除）</source>
        <translation>Muted (unmuted when ringing)</translation>
    </message>
    <message>
        <source>音量小（鳴る時に上げる）</source>
        <translation>Low volume (raised when ringing)</translation>
    </message>
    <message>
        <source>音が消されています</source>
        <translation>The sound is muted</translation>
    </message>
    <message>
        <source>音量が小さすぎます</source>
        <translation>The volume is too low</translation>
    </message>
    <message>
        <source>アラーム %1</source>
        <translation>Alarm %1</translation>
    </message>
</context>
<context>
    <name>setWindow</name>
    <message>
        <source>Vurn Settings</source>
        <translation>Vurn Settings</translation>
    </message>
    <message>
        <source>プレイリストリスト</source>
        <translation>Playlists</translation>
    </message>
    <message>
        <source>プレイリスト内容</source>
        <translation>Playlist contents</translation>
    </message>
    <message>
        <source>総時間：</source>
        <translation>Total time:</translation>
    </message>
    <message>
        <source>000:00:00</source>
        <translation>000:00:00</translation>
    </message>
    <message>
        <source>総曲数：</source>
        <translation>Tracks:</translation>
    </message>
    <message>
        <source>000 曲</source>
        <translation>000 tracks</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>選択したプレイリストを読み込む</source>
        <translation>Load the selected playlist</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>この名前で保存する</source>
        <translation>Save under this name</translation>
    </message>
    <message>
        <source>選択したプレイリストに上書き保存する</source>
        <translation>Overwrite the selected playlist</translation>
    </message>
    <message>
        <source>保存する名前を指定：</source>
        <translation>Save as:</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>選択したプレイリストを削除する</source>
        <translation>Delete the selected playlist</translation>
    </message>
    <message>
        <source>background-color: rgb(220, 220, 220)</source>
        <translation>background-color: rgb(220, 220, 220)</translation>
    </message>
    <message>
        <source>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS UI Gothic&apos;; font-size:9pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;まだ実装されていません。&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;現在はご利用頂けません。&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;!DOCTYPE HTML PUBLIC &quot;-//W3C//DTD HTML 4.0//EN&quot; &quot;http://www.w3.org/TR/REC-html40/strict.dtd&quot;&gt;
&lt;html&gt;&lt;head&gt;&lt;meta name=&quot;qrichtext&quot; content=&quot;1&quot; /&gt;&lt;style type=&quot;text/css&quot;&gt;
p, li { white-space: pre-wrap; }
&lt;/style&gt;&lt;/head&gt;&lt;body style=&quot; font-family:&apos;MS UI Gothic&apos;; font-size:9pt; font-weight:400; font-style:normal;&quot;&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;Not built yet.&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;It cannot be used for now.&lt;/p&gt;
&lt;p align=&quot;center&quot; style=&quot;-qt-paragraph-type:empty; margin-top:0px; margin-bottom:0px; margin-left:0px; margin-right:0px; -qt-block-indent:0; text-indent:0px;&quot;&gt;&lt;br /&gt;&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>アラームリスト</source>
        <translation>Alarms</translation>
    </message>
    <message>
        <source>次のアラーム：なし</source>
        <translation>Next alarm: none</translation>
    </message>
    <message>
        <source>アラームを有効にする</source>
        <translation>Alarms on</translation>
    </message>
    <message>
        <source>有効</source>
        <translation>On</translation>
    </message>
    <message>
        <source>時</source>
        <translation>Hr</translation>
    </message>
    <message>
        <source>分</source>
        <translation>Min</translation>
    </message>
    <message>
        <source>月</source>
        <translation>Mon</translation>
    </message>
    <message>
        <source>火</source>
        <translation>Tue</translation>
    </message>
    <message>
        <source>水</source>
        <translation>Wed</translation>
    </message>
    <message>
        <source>木</source>
        <translation>Thu</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Fri</translation>
    </message>
    <message>
        <source>土</source>
        <translation>Sat</translation>
    </message>
    <message>
        <source>日</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>プレイリスト</source>
        <translation>Playlist</translation>
    </message>
    <message>
        <source>モード</source>
        <translation>Mode</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Sel.</translation>
    </message>
    <message>
        <source>割込</source>
        <translation>Int.</translation>
    </message>
    <message>
        <source>音量指定</source>
        <translation>Volume</translation>
    </message>
    <message>
        <source>音量操作</source>
        <translation>Volume control</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Del</source>
        <translation>Del</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>一括設定</source>
        <translation>Bulk</translation>
    </message>
    <message>
        <source>リセット</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>その他の設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>スヌーズの時間：</source>
        <translation>Snooze for:</translation>
    </message>
    <message>
        <source>スリープ中に過ぎたアラーム：</source>
        <translation>Alarms missed while asleep:</translation>
    </message>
    <message>
        <source>ウィンドウを閉じてもトレイで動作を続ける</source>
        <translation>Keep running in the tray when the window is closed</translation>
    </message>
    <message>
        <source>アラームまでスリープしない</source>
        <translation>Stay awake until the alarm</translation>
    </message>
    <message>
        <source>スリープ中でもアラームで起こす</source>
        <translation>Wake the computer for an alarm</translation>
    </message>
    <message>
        <source>アラーム時に消音・小さな音量を解除する</source>
        <translation>Unmute or raise a low volume for an alarm</translation>
    </message>
    <message>
        <source>ログイン時に起動する</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>read me</source>
        <translation>read me</translation>
    </message>
    <message>
        <source>web site</source>
        <translation>web site</translation>
    </message>
    <message>
        <source>ok</source>
        <translation>ok</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <source>%n分</source>
        <translation>
            <numerusform>%n minute</numerusform>
            <numerusform>%n minutes</numerusform>
        </translation>
    </message>
    <message>
        <source>鳴らさない</source>
        <translation>Do not ring</translation>
    </message>
    <message numerus="yes">
        <source>%n分前まで鳴らす</source>
        <translation>
            <numerusform>Ring up to %n minute late</numerusform>
            <numerusform>Ring up to %n minutes late</numerusform>
        </translation>
    </message>
    <message>
        <source>確認しています…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>アラームリストが無効になっています。</source>
        <translation>The alarms are switched off.</translation>
    </message>
    <message>
        <source>アラームリストエラー</source>
        <translation>Alarm list error</translation>
    </message>
    <message>
        <source>アラームリストにアラームが登録されていません。</source>
        <translation>There are no alarms in the list.</translation>
    </message>
    <message>
        <source>アラームリストで削除するアラームを選択して下さい。</source>
        <translation>Select the alarms to delete in the list.</translation>
    </message>
    <message>
        <source>アラームリストクリア</source>
        <translation>Clear alarms</translation>
    </message>
    <message>
        <source>アラームリストをクリアします。よろしいですか？</source>
        <translation>All alarms will be cleared. Are you sure?</translation>
    </message>
    <message>
        <source>read meオープンエラー</source>
        <translation>read me open error</translation>
    </message>
    <message>
        <source>Vurn.txtを表示できません。Vurn.exeと同じフォルダにありません。</source>
        <translation>Vurn.txt cannot be shown. It is not in the folder of Vurn.exe.</translation>
    </message>
    <message>
        <source>スリープ中のパソコンをアラームの1分前に起こします（24時間以内のアラーム）。</source>
        <translation>Wakes a sleeping computer a minute before an alarm (alarms within 24 hours).</translation>
    </message>
    <message>
        <source>この環境ではスリープから起こせません：%1</source>
        <translation>This system cannot be woken from sleep: %1</translation>
    </message>
    <message>
        <source>次のアラームが12時間以内にある間、パソコンがスリープしないようにします。</source>
        <translation>Keeps the computer from sleeping while the next alarm is within 12 hours.</translation>
    </message>
    <message>
        <source>この環境ではスリープを止められないため、この設定は働きません（logind が見つかりません）。</source>
        <translation>This system cannot be kept from sleeping, so this setting has no effect (logind not found).</translation>
    </message>
    <message>
        <source>ReplayGain：</source>
        <translation>ReplayGain:</translation>
    </message>
    <message>
        <source>プリアンプ：</source>
        <translation>Pre-amp:</translation>
    </message>
    <message>
        <source> dB</source>
        <translation> dB</translation>
    </message>
    <message>
        <source>ReplayGainに足す音量です（-15～+15 dB）。大きくしても音は割れません。</source>
        <translation>Added to the ReplayGain (-15 to +15 dB). Raising it never makes the sound clip.</translation>
    </message>
    <message>
        <source>オフ</source>
        <translation>Off</translation>
    </message>
    <message>
        <source>トラック</source>
        <translation>Track</translation>
    </message>
    <message>
        <source>アルバム</source>
        <translation>Album</translation>
    </message>
    <message>
        <source>曲のReplayGain情報で音の大きさをそろえます。情報のない曲はそのままの大きさで鳴ります。</source>
        <translation>Evens out loudness with the tracks&apos; ReplayGain tags. Tracks without them play at their own level.</translation>
    </message>
</context>
<context>
    <name>sleepInhibitor</name>
    <message>
        <source>アラームを鳴らすため</source>
        <translation>To ring an alarm</translation>
    </message>
</context>
<context>
    <name>sleepTimer</name>
    <message>
        <source>曲の終わり</source>
        <translation>the end of the track</translation>
    </message>
</context>
<context>
    <name>storedChoice</name>
    <message>
        <source>リピートなし</source>
        <translation>No repeat</translation>
    </message>
    <message>
        <source>1曲リピート</source>
        <translation>Repeat one</translation>
    </message>
    <message>
        <source>全曲リピート(&gt;&gt;)</source>
        <translation>Repeat all (&gt;&gt;)</translation>
    </message>
    <message>
        <source>全曲リピート(&lt;&lt;)</source>
        <translation>Repeat all (&lt;&lt;)</translation>
    </message>
    <message>
        <source>ランダム</source>
        <translation>Random</translation>
    </message>
    <message>
        <source>シャッフル</source>
        <translation>Shuffle</translation>
    </message>
    <message>
        <source>リピートなし：ランダム</source>
        <translation>No repeat: random</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>None</translation>
    </message>
    <message>
        <source>標準プレイリスト</source>
        <translation>Standard playlist</translation>
    </message>
    <message>
        <source>リピートなし：%1</source>
        <translation>No repeat: from %1</translation>
    </message>
    <message numerus="yes">
        <source>フェードイン：%n分</source>
        <translation>
            <numerusform>Fade in: %n minute</numerusform>
            <numerusform>Fade in: %n minutes</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>trackLoader</name>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation>The file cannot be found.</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>曲を追加しています…</source>
        <translation>Adding tracks…</translation>
    </message>
    <message numerus="yes">
        <source>%1 / %n 曲</source>
        <translation>
            <numerusform>%1 / %n track</numerusform>
            <numerusform>%1 / %n tracks</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>trayIcon</name>
    <message>
        <source>ウィンドウを隠す</source>
        <translation>Hide window</translation>
    </message>
    <message>
        <source>再生／停止</source>
        <translation>Play / Stop</translation>
    </message>
    <message>
        <source>一時停止</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>次の曲</source>
        <translation>Next track</translation>
    </message>
    <message>
        <source>アラームを停止</source>
        <translation>Stop alarm</translation>
    </message>
    <message>
        <source>スヌーズ</source>
        <translation>Snooze</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>ウィンドウを表示</source>
        <translation>Show window</translation>
    </message>
</context>
<context>
    <name>vurnCatalogue</name>
    <message>
        <source>日本語</source>
        <translation>English</translation>
    </message>
</context>
<context>
    <name>vurnCore</name>
    <message>
        <source>■</source>
        <translation>■</translation>
    </message>
    <message>
        <source>♪</source>
        <translation>♪</translation>
    </message>
    <message>
        <source> ／ </source>
        <translation> / </translation>
    </message>
    <message>
        <source>mute</source>
        <translation>mute</translation>
    </message>
    <message>
        <source>（一時停止）</source>
        <translation>(paused) </translation>
    </message>
</context>
<context>
    <name>wakeClient</name>
    <message>
        <source>アラームの時刻に起こす準備のため</source>
        <translation>To get ready to wake for an alarm</translation>
    </message>
    <message>
        <source>確認しています…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>システムバスに接続できません</source>
        <translation>The system bus cannot be reached</translation>
    </message>
    <message>
        <source>起こすための補助プログラムが入っていません</source>
        <translation>The wake helper is not installed</translation>
    </message>
    <message>
        <source>補助プログラムが応答しません</source>
        <translation>The wake helper does not answer</translation>
    </message>
    <message>
        <source>polkit が許可しません（ログイン中のアクティブなセッションだけが使えます）</source>
        <translation>polkit does not allow it (only the active session at the machine may)</translation>
    </message>
    <message>
        <source>このパソコンにはスリープから起こせる時計（RTC）がありません</source>
        <translation>This computer has no clock (RTC) that can wake it from sleep</translation>
    </message>
</context>
</TS>
