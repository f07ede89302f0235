<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>qir::SystemDesktop</name>
    <message>
        <source>Cannot open %1: no program to show it was found. Install a web browser (and xdg-utils).</source>
        <translation>无法打开 %1：找不到可以显示它的程序。请安装网页浏览器（以及 xdg-utils）。</translation>
    </message>
</context>
<context>
    <name>qir::TForm1</name>
    <message>
        <source>%1 (shortcut: %2)</source>
        <translation>%1（快捷键：%2）</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Minimise</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Next character</source>
        <translation>下一个字</translation>
    </message>
    <message>
        <source>Previous character</source>
        <translation>上一个字</translation>
    </message>
    <message>
        <source>Input character</source>
        <translation>输入汉字</translation>
    </message>
    <message>
        <source>Characters by number of strokes</source>
        <translation>按笔画数排列的汉字</translation>
    </message>
    <message>
        <source>Animation</source>
        <translation>笔顺动画</translation>
    </message>
</context>
<context>
    <name>qir::animation::MediaPlayer</name>
    <message>
        <source>Player</source>
        <translation>播放器</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>暂停</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>Go to end</source>
        <translation>跳到结尾</translation>
    </message>
    <message>
        <source>Go to start</source>
        <translation>跳到开头</translation>
    </message>
    <message>
        <source>Step forward</source>
        <translation>前进一步</translation>
    </message>
    <message>
        <source>Step back</source>
        <translation>后退一步</translation>
    </message>
    <message>
        <source>Record</source>
        <translation>录制</translation>
    </message>
    <message>
        <source>Eject</source>
        <translation>弹出</translation>
    </message>
</context>
<context>
    <name>qir::app::PasswordDialog</name>
    <message>
        <source>Enter password</source>
        <translation>输入密码</translation>
    </message>
    <message>
        <source>Password for table %1:</source>
        <translation>数据表 %1 的密码：</translation>
    </message>
</context>
<context>
    <name>qir::app::PracticeSheetActions</name>
    <message>
        <source>Show</source>
        <translation>显示</translation>
    </message>
    <message>
        <source>Print practice sheet…</source>
        <translation>打印练习纸…</translation>
    </message>
    <message>
        <source>Save practice sheet as PDF…</source>
        <translation>将练习纸另存为 PDF…</translation>
    </message>
    <message>
        <source>Write it yourself…</source>
        <translation>自己写一写…</translation>
    </message>
    <message>
        <source>Cannot make a practice sheet of %1: %2 does not hold its strokes</source>
        <translation>无法制作“%1”的练习纸：%2 中没有它的笔画</translation>
    </message>
    <message>
        <source>%1 practice sheet</source>
        <translation>%1 练习纸</translation>
    </message>
    <message>
        <source>Save practice sheet as PDF</source>
        <translation>将练习纸另存为 PDF</translation>
    </message>
    <message>
        <source>PDF documents (*.pdf)</source>
        <translation>PDF 文档 (*.pdf)</translation>
    </message>
    <message>
        <source>Print practice sheet</source>
        <translation>打印练习纸</translation>
    </message>
    <message>
        <source>%1 cannot go on the sheet: %2</source>
        <translation>%1 不能放到练习纸上：%2</translation>
    </message>
    <message>
        <source> (and %1 more)</source>
        <translation>（另有 %1 个）</translation>
    </message>
</context>
<context>
    <name>qir::app::WindowRoute</name>
    <message>
        <source>Animation of %1</source>
        <translation>“%1”的笔顺动画</translation>
    </message>
</context>
<context>
    <name>qir::handwriting_pad::HandwritingPad</name>
    <message>
        <source>Find by drawing</source>
        <translation>手写查字</translation>
    </message>
    <message>
        <source>Undo last stroke</source>
        <translation>撤销上一笔</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>清除</translation>
    </message>
    <message>
        <source>Key %1</source>
        <translation>按键 %1</translation>
    </message>
    <message>
        <source>Find by drawing…</source>
        <translation>手写查字…</translation>
    </message>
    <message>
        <source>Preparing the characters to compare with…</source>
        <translation>正在准备用来比对的字…</translation>
    </message>
</context>
<context>
    <name>qir::practice::PracticeRecord</name>
    <message>
        <source>opened</source>
        <translation>打开</translation>
    </message>
    <message>
        <source>read</source>
        <translation>读取</translation>
    </message>
    <message>
        <source>written</source>
        <translation>写入</translation>
    </message>
    <message>
        <source>the practice record %1 is damaged</source>
        <translation>练习记录 %1 已损坏</translation>
    </message>
    <message>
        <source>the practice record %1 is in use by another instance of the program</source>
        <translation>练习记录 %1 正被本程序的另一个实例使用</translation>
    </message>
    <message>
        <source>the practice record %1 is read-only</source>
        <translation>练习记录 %1 是只读的</translation>
    </message>
    <message>
        <source>the practice record %1 cannot be %2: %3</source>
        <translation>练习记录 %1 无法%2：%3</translation>
    </message>
    <message>
        <source>the practice record %1 was written by a later version of the program</source>
        <translation>练习记录 %1 是由更新版本的程序写的</translation>
    </message>
</context>
<context>
    <name>qir::practice_window::PracticeWindow</name>
    <message>
        <source>Write it yourself</source>
        <translation>自己写一写</translation>
    </message>
    <message>
        <source>Show me</source>
        <translation>示范</translation>
    </message>
    <message>
        <source>Hint</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>Restart</source>
        <translation>重写</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>上一个</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>下一个</translation>
    </message>
    <message>
        <source>Practise the characters I found hardest</source>
        <translation>练习我写得最吃力的字</translation>
    </message>
    <message>
        <source>Export record as CSV…</source>
        <translation>将练习记录导出为 CSV…</translation>
    </message>
    <message>
        <source>Export practice record</source>
        <translation>导出练习记录</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>描红</translation>
    </message>
    <message>
        <source>Stroke by stroke</source>
        <translation>逐笔提示</translation>
    </message>
    <message>
        <source>From memory</source>
        <translation>默写</translation>
    </message>
    <message>
        <source>田字格</source>
        <translation>田字格</translation>
    </message>
    <message>
        <source>米字格</source>
        <translation>米字格</translation>
    </message>
    <message>
        <source>Strict</source>
        <translation>严格</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>一般</translation>
    </message>
    <message>
        <source>Gentle</source>
        <translation>宽松</translation>
    </message>
    <message>
        <source>Your progress is not being kept: %1.</source>
        <translation>练习记录没有保存：%1。</translation>
    </message>
    <message>
        <source>%1 — %2 stroke</source>
        <translation>%1 — %2画</translation>
    </message>
    <message>
        <source>%1 — %2 strokes</source>
        <translation>%1 — %2画</translation>
    </message>
    <message>
        <source>right</source>
        <translation>正确</translation>
    </message>
    <message>
        <source>wrong place</source>
        <translation>位置不对</translation>
    </message>
    <message>
        <source>wrong shape</source>
        <translation>笔形不对</translation>
    </message>
    <message>
        <source>wrong direction: drawn backwards</source>
        <translation>方向不对：这一笔写反了</translation>
    </message>
    <message>
        <source>wrong order: matches stroke %1</source>
        <translation>笔顺不对：这是第%1笔</translation>
    </message>
    <message>
        <source>wrong: the character has only 1 stroke</source>
        <translation>写多了：这个字只有1画</translation>
    </message>
    <message>
        <source>wrong: the character has only %1 strokes</source>
        <translation>写多了：这个字只有%1画</translation>
    </message>
    <message>
        <source>stroke %1: %2</source>
        <translation>第%1笔：%2次</translation>
    </message>
    <message>
        <source>Score: %1 %  Mistakes: %2  Time: %3 s</source>
        <translation>得分：%1分&#x3000;错误：%2&#x3000;用时：%3秒</translation>
    </message>
    <message>
        <source>none</source>
        <translation>无</translation>
    </message>
    <message>
        <source>No character has been hard so far.</source>
        <translation>到目前为止还没有写得吃力的字。</translation>
    </message>
    <message>
        <source>%1 cannot be practised.</source>
        <translation>“%1”无法练习。</translation>
    </message>
    <message>
        <source>No character yet.
Find one by drawing it, or practise the characters you found hardest.</source>
        <translation>还没有选字。
可以手写查字，也可以练习写得最吃力的字。</translation>
    </message>
</context>
<context>
    <name>qir::sheet::PracticeSheet</name>
    <message>
        <source>Practice sheet:</source>
        <translation>练习纸：</translation>
    </message>
    <message>
        <source>Cannot print the practice sheet: %1</source>
        <translation>无法打印练习纸：%1</translation>
    </message>
    <message>
        <source>1 stroke</source>
        <translation>1画</translation>
    </message>
    <message>
        <source>%1 strokes</source>
        <translation>%1画</translation>
    </message>
    <message>
        <source>部首 %1</source>
        <translation>部首 %1</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>第%1页 共%2页</translation>
    </message>
    <message>
        <source>Stroke data from Make Me a Hanzi / hanzi-writer-data, under the Arphic Public License</source>
        <translation>笔画数据来自 Make Me a Hanzi / hanzi-writer-data，依 Arphic Public License 使用</translation>
    </message>
    <message>
        <source>the printer or the file cannot be opened</source>
        <translation>打印机或文件无法打开</translation>
    </message>
    <message>
        <source>the printer did not take page %1</source>
        <translation>打印机没有接收第%1页</translation>
    </message>
    <message>
        <source>the printer did not take the sheet</source>
        <translation>打印机没有接收练习纸</translation>
    </message>
    <message>
        <source>Order</source>
        <translation>笔顺</translation>
    </message>
    <message>
        <source>Trace</source>
        <translation>描红</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>临写</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>姓名：</translation>
    </message>
    <message>
        <source>Class:</source>
        <translation>班级：</translation>
    </message>
    <message>
        <source>Date:</source>
        <translation>日期：</translation>
    </message>
    <message>
        <source>Start each stroke at its numbered mark, the way it points; the new stroke is red. Trace the grey, then copy.</source>
        <translation>每一笔从带数字的标记处起笔，顺着标记所指的方向写；红色的是新写的一笔。先描灰色的字，再在空格里临写。</translation>
    </message>
</context>
<context>
    <name>qir::sheet::SheetOptions</name>
    <message>
        <source>the box must be %1 to %2 mm</source>
        <translation>格子边长须为 %1 至 %2 毫米</translation>
    </message>
    <message>
        <source>trace rows must be 0 to %1</source>
        <translation>描红行数须为 0 至 %1</translation>
    </message>
    <message>
        <source>copy rows must be 0 to %1</source>
        <translation>临写行数须为 0 至 %1</translation>
    </message>
    <message>
        <source>choose at least one practice row</source>
        <translation>请至少选择一行练习</translation>
    </message>
    <message>
        <source>the title is %1 characters long; at most %2 fit on the line</source>
        <translation>标题有 %1 个字，一行最多放得下 %2 个</translation>
    </message>
    <message>
        <source>the title must be one line</source>
        <translation>标题只能有一行</translation>
    </message>
    <message>
        <source>Plain boxes</source>
        <translation>方格（无辅助线）</translation>
    </message>
</context>
<context>
    <name>qir::sheet_dialog::SheetDialog</name>
    <message>
        <source>%1 mm (young children)</source>
        <translation>%1 毫米（低年级）</translation>
    </message>
    <message>
        <source>%1 mm</source>
        <translation>%1 毫米</translation>
    </message>
    <message>
        <source>Print practice sheet</source>
        <translation>打印练习纸</translation>
    </message>
    <message>
        <source>Save practice sheet as PDF</source>
        <translation>将练习纸另存为 PDF</translation>
    </message>
    <message>
        <source>Add its catalogue group</source>
        <translation>加入同笔画数的字</translation>
    </message>
    <message>
        <source>Adds every character of the current character&apos;s stroke-count group</source>
        <translation>加入字表中与当前汉字笔画数相同的全部汉字</translation>
    </message>
    <message>
        <source>&amp;Characters:</source>
        <translation>汉字(&amp;C)：</translation>
    </message>
    <message>
        <source>A4</source>
        <translation>A4</translation>
    </message>
    <message>
        <source>Letter</source>
        <translation>Letter（信纸）</translation>
    </message>
    <message>
        <source>&amp;Paper:</source>
        <translation>纸张(&amp;P)：</translation>
    </message>
    <message>
        <source>&amp;Guide:</source>
        <translation>格子(&amp;G)：</translation>
    </message>
    <message>
        <source>&amp;Box size:</source>
        <translation>格子大小(&amp;B)：</translation>
    </message>
    <message>
        <source>&amp;Stroke by stroke</source>
        <translation>逐笔描红(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Fill the page</source>
        <translation>写满一页(&amp;F)</translation>
    </message>
    <message>
        <source>T&amp;race:</source>
        <translation>描红(&amp;R)：</translation>
    </message>
    <message>
        <source>C&amp;opy:</source>
        <translation>临写(&amp;O)：</translation>
    </message>
    <message>
        <source>Rows:</source>
        <translation>练习行：</translation>
    </message>
    <message>
        <source>None</source>
        <translation>无</translation>
    </message>
    <message>
        <source>&amp;Title:</source>
        <translation>标题(&amp;T)：</translation>
    </message>
    <message>
        <source>&amp;Name, class and date line</source>
        <translation>姓名、班级、日期栏(&amp;N)</translation>
    </message>
    <message>
        <source>P&amp;inyin above the character</source>
        <translation>在字上方标注拼音(&amp;I)</translation>
    </message>
    <message>
        <source>&amp;Print…</source>
        <translation>打印(&amp;P)…</translation>
    </message>
    <message>
        <source>&amp;Save…</source>
        <translation>保存(&amp;S)…</translation>
    </message>
    <message>
        <source>type the box&apos;s side in millimetres, %1 to %2</source>
        <translation>请输入格子边长（毫米），%1 至 %2</translation>
    </message>
    <message>
        <source>type or paste the characters to practise</source>
        <translation>请输入或粘贴要练习的汉字</translation>
    </message>
    <message>
        <source>%1 characters; a sheet takes at most %2</source>
        <translation>共 %1 个字；一份练习纸最多 %2 个</translation>
    </message>
</context>
<context>
    <name>qir::store::CharacterFacts</name>
    <message>
        <source>部首 %1</source>
        <translation>部首 %1</translation>
    </message>
    <message>
        <source>%1画</source>
        <translation>%1画</translation>
    </message>
</context>
<context>
    <name>qir::strokes::RecordGrid</name>
    <message>
        <source>Stroke steps</source>
        <translation>笔顺步骤</translation>
    </message>
    <message>
        <source>第%1笔 / step %1 of %2</source>
        <translation>第%1笔，共%2笔</translation>
    </message>
</context>
<context>
    <name>qir::workfolder::WorkingFolder</name>
    <message>
        <source>Cannot use the working folder %1: %2</source>
        <translation>无法使用工作文件夹 %1：%2</translation>
    </message>
    <message>
        <source>QIR Demonstration of stroke order is already running for this user in another session, in the working folder %1. Close it there, then start the program again</source>
        <translation>QIR Demonstration of stroke order 已经在这个用户的另一个会话中运行，使用的是工作文件夹 %1。请先在那里关闭它，再重新启动本程序</translation>
    </message>
    <message>
        <source>The working folder %1 cannot be written: %2</source>
        <translation>工作文件夹 %1 无法写入：%2</translation>
    </message>
    <message>
        <source>The working folder %1 cannot be written: %2: %3</source>
        <translation>工作文件夹 %1 无法写入：%2：%3</translation>
    </message>
    <message>
        <source>Cannot prepare the working folder %1: %2: %3</source>
        <translation>无法准备工作文件夹 %1：%2：%3</translation>
    </message>
    <message>
        <source>Cannot prepare the working folder %1: %2</source>
        <translation>无法准备工作文件夹 %1：%2</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是文件夹</translation>
    </message>
    <message>
        <source>cannot create %1</source>
        <translation>无法创建 %1</translation>
    </message>
    <message>
        <source>cannot copy %1: %2 cannot be read</source>
        <translation>无法复制 %1：%2 无法读取</translation>
    </message>
    <message>
        <source>cannot write it to disk</source>
        <translation>无法把它写入磁盘</translation>
    </message>
    <message>
        <source>cannot link %1</source>
        <translation>无法链接 %1</translation>
    </message>
    <message>
        <source>cannot move %1 aside</source>
        <translation>无法把 %1 移开</translation>
    </message>
    <message>
        <source>cannot lock it</source>
        <translation>无法锁定它</translation>
    </message>
    <message>
        <source>cannot lock it: its lock file keeps changing</source>
        <translation>无法锁定它：它的锁文件一直在变化</translation>
    </message>
    <message>
        <source>The installed file %1 is missing or cannot be read. Reinstall qir-stroke to repair the installation.</source>
        <translation>安装的文件 %1 缺失或无法读取。请重新安装 qir-stroke 来修复。</translation>
    </message>
    <message>
        <source>cannot enter it</source>
        <translation>无法进入它</translation>
    </message>
    <message>
        <source>Cannot prepare the working folder: neither XDG_DATA_HOME nor HOME names a folder</source>
        <translation>无法准备工作文件夹：XDG_DATA_HOME 和 HOME 都没有指定文件夹</translation>
    </message>
</context>
</TS>
