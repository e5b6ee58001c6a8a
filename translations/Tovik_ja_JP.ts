<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>About</name>
    <message>
        <source>&lt;h3&gt;Tovik %1&lt;/h3&gt;&lt;p&gt;A teaching tool for the EXAFS signal of one scattering shell: chi(k) and its Fourier transform chi(R), redrawn as you change them.&lt;/p&gt;&lt;p&gt;Released under the MIT licence.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tovik %1&lt;/h3&gt;&lt;p&gt;一つの散乱殻が作る EXAFS 信号を学ぶための道具です。χ(k) とそのフーリエ変換 χ(R) を、操作に合わせて描き直します。&lt;/p&gt;&lt;p&gt;MIT ライセンスで公開しています。&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Tovik</source>
        <translation>Tovik について</translation>
    </message>
</context>
<context>
    <name>Actions</name>
    <message>
        <source>&amp;Axes and units</source>
        <translation>軸と単位(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Legend</source>
        <translation>凡例(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Physical amplitude</source>
        <translation>物理的な振幅(&amp;P)</translation>
    </message>
    <message>
        <source>Loc&amp;k scales</source>
        <translation>縦軸を固定(&amp;K)</translation>
    </message>
    <message>
        <source>Arrange &amp;side by side</source>
        <translation>左右に並べる(&amp;S)</translation>
    </message>
    <message>
        <source>Open measured mu(&amp;E)…</source>
        <translation>測定した μ(E) を開く(&amp;E)…</translation>
    </message>
    <message>
        <source>&amp;mu(E)</source>
        <translation>μ(E)(&amp;M)</translation>
    </message>
    <message>
        <source>Filtered χ(&amp;q)</source>
        <translation>フィルターした χ(q)(&amp;Q)</translation>
    </message>
    <message>
        <source>Transform the R window of χ(R) (Å) back to k: the shell&apos;s χ(q) and its amplitude |χ(q)| on the χ(k) plot, q in Å⁻¹</source>
        <translation>χ(R) の R 窓 (Å) を k へ逆変換する: その殻の χ(q) と振幅 |χ(q)| を χ(k) のグラフに描く。q の単位は Å⁻¹</translation>
    </message>
</context>
<context>
    <name>ChiDataReader</name>
    <message>
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>this is a binary file, not columns of numbers.</source>
        <translation>数値の列ではなくバイナリファイルです。</translation>
    </message>
    <message>
        <source>a row needs two columns, k and chi(k); it has one.</source>
        <translation>行には k と χ(k) の 2 列が必要ですが、1 列しかありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number.</source>
        <translation>「%1」は数値ではありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a finite number.</source>
        <translation>「%1」は有限の数値ではありません。</translation>
    </message>
    <message>
        <source>k must increase from row to row; %1 follows %2.</source>
        <translation>k は行ごとに増えなければなりませんが、%2 の次が %1 です。</translation>
    </message>
    <message>
        <source>The file holds no rows of numbers.</source>
        <translation>ファイルに数値の行がありません。</translation>
    </message>
    <message>
        <source>The file holds one row of numbers; at least two are needed.</source>
        <translation>ファイルに数値の行が 1 行しかありません。2 行以上必要です。</translation>
    </message>
    <message>
        <source>chi(k) data</source>
        <translation>χ(k) のデータ</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is too large: values must lie within %2, far beyond any chi(k).</source>
        <translation>「%1」は大きすぎます。値は %2 の範囲になければなりません (どの χ(k) よりもはるかに大きい範囲です)。</translation>
    </message>
</context>
<context>
    <name>ChiK</name>
    <message>
        <source>Data sets</source>
        <translation>データセット</translation>
    </message>
    <message>
        <source>Some data sets of the fit could not be read:
%1</source>
        <translation>フィットのデータセットのうち読めないものがありました:
%1</translation>
    </message>
    <message>
        <source>chi(k)</source>
        <translation>χ(k)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>&amp;Open scenario…</source>
        <translation>シナリオを開く(&amp;O)…</translation>
    </message>
    <message>
        <source>&amp;Save scenario as…</source>
        <translation>シナリオに名前を付けて保存(&amp;S)…</translation>
    </message>
    <message>
        <source>Export &amp;picture…</source>
        <translation>図を書き出す(&amp;P)…</translation>
    </message>
    <message>
        <source>Export &amp;data…</source>
        <translation>データを書き出す(&amp;D)…</translation>
    </message>
    <message>
        <source>&amp;Copy picture</source>
        <translation>図をコピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;About Tovik</source>
        <translation>Tovik について(&amp;A)</translation>
    </message>
    <message>
        <source>chi(k) against k in Å⁻¹: drag the green points to shape the envelope F(k) and the blue handles on the zero line to move the window W(k)</source>
        <translation>k (Å⁻¹) に対する χ(k)。緑の点をドラッグすると包絡線 F(k) の形が、ゼロ線上の青い印をドラッグすると窓関数 W(k) の位置が変わります</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>k (Å⁻¹)</source>
        <translation>k (Å⁻¹)</translation>
    </message>
    <message>
        <source>W(k)</source>
        <translation>窓関数 W(k)</translation>
    </message>
    <message>
        <source>±F(k)</source>
        <translation>±後方散乱振幅 F(k)</translation>
    </message>
    <message>
        <source>Open &amp;measured chi(k)…</source>
        <translation>測定した χ(k) を開く(&amp;M)…</translation>
    </message>
    <message>
        <source>Clear measured chi(k)</source>
        <translation>測定した χ(k) を消す</translation>
    </message>
    <message>
        <source>&amp;Hold curves</source>
        <translation>曲線を残す(&amp;H)</translation>
    </message>
    <message>
        <source>Clear held c&amp;urves</source>
        <translation>残した曲線を消す(&amp;U)</translation>
    </message>
    <message>
        <source>S&amp;hells…</source>
        <translation>散乱殻(&amp;H)…</translation>
    </message>
    <message>
        <source>&amp;Lessons</source>
        <translation>授業(&amp;L)</translation>
    </message>
    <message>
        <source>Lan&amp;guage</source>
        <translation>言語(&amp;G)</translation>
    </message>
    <message>
        <source>&amp;Notes…</source>
        <translation>授業のノート(&amp;N)…</translation>
    </message>
    <message>
        <source>No lessons found</source>
        <translation>授業が見つかりません</translation>
    </message>
    <message>
        <source>k%1·χ(k) (Å%2)</source>
        <translation>k%1·χ(k) (Å%2)</translation>
    </message>
    <message>
        <source>k%1·χ(k), normalised</source>
        <translation>k%1·χ(k)（規格化）</translation>
    </message>
    <message>
        <source>k%1·W·χ(k)</source>
        <translation>k%1·W·χ(k)</translation>
    </message>
    <message>
        <source>k%1·χ(k)</source>
        <translation>k%1·χ(k)</translation>
    </message>
    <message>
        <source>&amp;Fit…</source>
        <translation>フィット(&amp;F)…</translation>
    </message>
    <message>
        <source>Fit the model to the measured data (needs measured chi(k))</source>
        <translation>モデルを測定データにフィットします（測定した χ(k) が必要です）</translation>
    </message>
    <message>
        <source>Open scattering pa&amp;th…</source>
        <translation>散乱パスを開く(&amp;T)…</translation>
    </message>
    <message>
        <source>Give the main shell a scattering path file (feffNNNN.dat): its amplitude, phase and mean free path replace the hand-drawn envelope</source>
        <translation>主殻に散乱パスファイル (feffNNNN.dat) を与えます: その振幅・位相・平均自由行程が手描きの包絡線に代わります</translation>
    </message>
    <message>
        <source>Remove path</source>
        <translation>パスを外す</translation>
    </message>
    <message>
        <source>Take the scattering path from the main shell: the hand-drawn envelope returns</source>
        <translation>主殻から散乱パスを外します: 手描きの包絡線に戻ります</translation>
    </message>
    <message>
        <source>Data reach %1 Å⁻¹; shown up to %2 Å⁻¹</source>
        <translation>データは %1 Å⁻¹ まであります。表示は %2 Å⁻¹ まで</translation>
    </message>
    <message>
        <source>model χ(q), ±|χ(q)|</source>
        <translation>モデルの χ(q), ±|χ(q)|</translation>
    </message>
    <message>
        <source>data χ(q), ±|χ(q)|</source>
        <translation>データの χ(q), ±|χ(q)|</translation>
    </message>
    <message>
        <source>&amp;Ratio…</source>
        <translation>比率法(&amp;R)…</translation>
    </message>
    <message>
        <source>Use &amp;filtered data as the shell&apos;s amplitude and phase…</source>
        <translation>フィルターしたデータを殻の振幅と位相に使う(&amp;F)…</translation>
    </message>
    <message>
        <source>Make the main shell&apos;s amplitude and phase from a reference&apos;s chi(k) filtered through the R window (Å), given its known N, R (Å) and sigma (Å): a measured standard in place of a path file</source>
        <translation>参照試料の χ(k) を R 窓 (Å) でフィルターし、既知の N、R (Å)、σ (Å) から主殻の振幅と位相を作る: パスファイルの代わりの実測標準</translation>
    </message>
</context>
<context>
    <name>ChiR</name>
    <message>
        <source>&amp;Abs.</source>
        <translation>絶対値</translation>
    </message>
    <message>
        <source>&amp;Imag.</source>
        <translation>虚部</translation>
    </message>
    <message>
        <source>&amp;Real</source>
        <translation>実部</translation>
    </message>
    <message>
        <source>&amp;Total</source>
        <translation>全体</translation>
    </message>
    <message>
        <source>Chi(R)</source>
        <translation>χ(R)</translation>
    </message>
    <message>
        <source>F</source>
        <translation>後方散乱因子</translation>
    </message>
    <message>
        <source>Pointer : </source>
        <translation>指示位置</translation>
    </message>
    <message>
        <source>W</source>
        <translation>窓関数</translation>
    </message>
    <message>
        <source>sin(&amp;2kR+phi)</source>
        <translation>sin(2kR+Φ(k))</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <source>Export &amp;picture…</source>
        <translation>図を書き出す(&amp;P)…</translation>
    </message>
    <message>
        <source>Export &amp;data…</source>
        <translation>データを書き出す(&amp;D)…</translation>
    </message>
    <message>
        <source>&amp;Copy picture</source>
        <translation>図をコピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;About Tovik</source>
        <translation>Tovik について(&amp;A)</translation>
    </message>
    <message>
        <source>The Fourier transform against R in Å: drag the red pointer line, or click here and step it with Left and Right; double-click near a peak to put the line on it</source>
        <translation>R (Å) に対するフーリエ変換。赤い指示線をドラッグするか、ここをクリックして左右キーで動かします。ピークの近くをダブルクリックすると指示線がピークに移ります</translation>
    </message>
    <message>
        <source>Draw the real part of the transform of chi(k)</source>
        <translation>χ(k) の変換の実部を描く</translation>
    </message>
    <message>
        <source>Draw the imaginary part of the transform of chi(k)</source>
        <translation>χ(k) の変換の虚部を描く</translation>
    </message>
    <message>
        <source>Draw the modulus of the transform of chi(k)</source>
        <translation>χ(k) の変換の絶対値を描く</translation>
    </message>
    <message>
        <source>Draw the modulus of the transform of the envelope F(k)</source>
        <translation>包絡線 F(k) の変換の絶対値を描く</translation>
    </message>
    <message>
        <source>Draw the modulus of the transform of the window W(k)</source>
        <translation>窓関数 W(k) の変換の絶対値を描く</translation>
    </message>
    <message>
        <source>Draw the modulus of the transform of the bare oscillation sin(2kR+phi)</source>
        <translation>振動 sin(2kR+Φ(k)) だけの変換の絶対値を描く</translation>
    </message>
    <message>
        <source>Draw the transform of chi(k) itself, in the parts chosen on the left</source>
        <translation>χ(k) そのものの変換を、左で選んだ成分で描く</translation>
    </message>
    <message>
        <source>R of the pointer line in Å: type a value and press Return</source>
        <translation>指示線の位置 R (Å)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>The transform of chi(k) at the bin nearest the pointer, or at the top of the peak found by a double-click</source>
        <translation>指示線に最も近い点での χ(k) の変換、またはダブルクリックで見つけたピークの頂点での値</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>R (Å)</source>
        <translation>R (Å)</translation>
    </message>
    <message>
        <source>sin(2kR+phi)</source>
        <translation>sin(2kR+Φ(k))</translation>
    </message>
    <message>
        <source>Total, real part</source>
        <translation>全体: 実部</translation>
    </message>
    <message>
        <source>Total, imaginary part</source>
        <translation>全体: 虚部</translation>
    </message>
    <message>
        <source>Total, modulus</source>
        <translation>全体: 絶対値</translation>
    </message>
    <message>
        <source>peak R = %1 Å</source>
        <translation>ピーク R = %1 Å</translation>
    </message>
    <message>
        <source>top |χ| = %1</source>
        <translation>頂点 |χ| = %1</translation>
    </message>
    <message>
        <source>data: peak R = %1 Å, top |χ| = %2</source>
        <translation>データ: ピーク R = %1 Å、頂点 |χ| = %2</translation>
    </message>
    <message>
        <source>bin R = %1 Å</source>
        <translation>ビン R = %1 Å</translation>
    </message>
    <message>
        <source>|χ| = %1</source>
        <translation>|χ| = %1</translation>
    </message>
    <message>
        <source>Re χ = %1</source>
        <translation>実部 = %1</translation>
    </message>
    <message>
        <source>Im χ = %1</source>
        <translation>虚部 = %1</translation>
    </message>
    <message>
        <source>data |χ| = %1</source>
        <translation>データ |χ| = %1</translation>
    </message>
    <message>
        <source>data Re χ = %1</source>
        <translation>データ実部 = %1</translation>
    </message>
    <message>
        <source>data Im χ = %1</source>
        <translation>データ虚部 = %1</translation>
    </message>
    <message>
        <source>%1 (Å%2)</source>
        <translation>%1 (Å%2)</translation>
    </message>
    <message>
        <source>%1, normalised</source>
        <translation>%1（規格化）</translation>
    </message>
    <message>
        <source>Lan&amp;guage</source>
        <translation>言語(&amp;G)</translation>
    </message>
    <message>
        <source>Open scattering pa&amp;th…</source>
        <translation>散乱パスを開く(&amp;T)…</translation>
    </message>
    <message>
        <source>Give the main shell a scattering path file (feffNNNN.dat): its amplitude, phase and mean free path replace the hand-drawn envelope</source>
        <translation>主殻に散乱パスファイル (feffNNNN.dat) を与えます: その振幅・位相・平均自由行程が手描きの包絡線に代わります</translation>
    </message>
    <message>
        <source>Remove path</source>
        <translation>パスを外す</translation>
    </message>
    <message>
        <source>Take the scattering path from the main shell: the hand-drawn envelope returns</source>
        <translation>主殻から散乱パスを外します: 手描きの包絡線に戻ります</translation>
    </message>
    <message>
        <source>R window (Å):</source>
        <translation>R 窓 (Å):</translation>
    </message>
    <message>
        <source>R window position 1, where the filter starts to rise, in Å</source>
        <translation>R 窓の位置 1: フィルターが立ち上がり始める R (Å)</translation>
    </message>
    <message>
        <source>R window position 2, where the filter reaches 1, in Å</source>
        <translation>R 窓の位置 2: フィルターが 1 になる R (Å)</translation>
    </message>
    <message>
        <source>R window position 3, where the filter starts to fall, in Å</source>
        <translation>R 窓の位置 3: フィルターが下がり始める R (Å)</translation>
    </message>
    <message>
        <source>R window position 4, where the filter reaches 0, in Å</source>
        <translation>R 窓の位置 4: フィルターが 0 になる R (Å)</translation>
    </message>
    <message>
        <source>Use &amp;filtered data as the shell&apos;s amplitude and phase…</source>
        <translation>フィルターしたデータを殻の振幅と位相に使う(&amp;F)…</translation>
    </message>
    <message>
        <source>Make the main shell&apos;s amplitude and phase from a reference&apos;s chi(k) filtered through the R window (Å), given its known N, R (Å) and sigma (Å): a measured standard in place of a path file</source>
        <translation>参照試料の χ(k) を R 窓 (Å) でフィルターし、既知の N、R (Å)、σ (Å) から主殻の振幅と位相を作る: パスファイルの代わりの実測標準</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Tovik: chi(k) and chi(R) of one EXAFS shell.</source>
        <translation>Tovik: 一つの EXAFS 散乱殻の χ(k) と χ(R)。</translation>
    </message>
    <message>
        <source>Japanese interface (the default).</source>
        <translation>日本語の画面 (既定)。</translation>
    </message>
    <message>
        <source>English interface.</source>
        <translation>英語の画面。</translation>
    </message>
    <message>
        <source>Open the scenario FILE at start.</source>
        <translation>起動時にシナリオ FILE を開く。</translation>
    </message>
    <message>
        <source>FILE</source>
        <translation>FILE</translation>
    </message>
    <message>
        <source>Show no window: write both plots as PNG and SVG and their data as CSV into DIR, then exit.</source>
        <translation>ウィンドウを開かずに、両方のグラフを PNG と SVG で、そのデータを CSV で DIR に書き出して終了する。</translation>
    </message>
    <message>
        <source>DIR</source>
        <translation>DIR</translation>
    </message>
    <message>
        <source>Show the measured chi(k) in FILE with the model.</source>
        <translation>FILE にある測定した χ(k) をモデルと一緒に表示する。</translation>
    </message>
    <message>
        <source>Show no window: fit the model to the measured data and print the result as JSON; with --export the pictures show the fitted model and DIR gets fit.json too.</source>
        <translation>ウィンドウを出さずに、モデルを測定データにフィットし、結果を JSON で表示する。--export と一緒なら、図はフィットしたモデルを示し、DIR に fit.json も書く。</translation>
    </message>
    <message>
        <source>A fit needs measured data: give --data FILE or a scenario with measuredData.</source>
        <translation>フィットには測定データが必要です。--data FILE か、measuredData のあるシナリオを指定してください。</translation>
    </message>
    <message>
        <source>No fit: %1</source>
        <translation>フィットしません: %1</translation>
    </message>
    <message>
        <source>Open the lesson NAME (its file name) from the lessons folder.</source>
        <translation>授業のフォルダーにある授業 NAME (ファイル名) を開く。</translation>
    </message>
    <message>
        <source>NAME</source>
        <translation>NAME</translation>
    </message>
    <message>
        <source>There is no lesson &quot;%1&quot; in %2.</source>
        <translation>%2 に授業「%1」はありません。</translation>
    </message>
    <message>
        <source>the lessons folder</source>
        <translation>授業のフォルダー</translation>
    </message>
    <message>
        <source>Give the main shell the scattering path in FILE (feffNNNN.dat).</source>
        <translation>主殻に FILE の散乱パス (feffNNNN.dat) を与えます。</translation>
    </message>
    <message>
        <source>Show the chi(k) of the measured mu(E) in FILE with the model, and mu(E) in its window.</source>
        <translation>FILE の測定した μ(E) から得た χ(k) をモデルと一緒に表示し、μ(E) をそのウィンドウに表示します。</translation>
    </message>
    <message>
        <source>Give either --data or --mu, not both.</source>
        <translation>--data と --mu はどちらか一方だけを指定してください。</translation>
    </message>
    <message>
        <source>The second measured chi(k) of the ratio method.</source>
        <translation>比率法で比べる二つ目の測定 χ(k)。</translation>
    </message>
    <message>
        <source>Show no window: filter the scenario&apos;s R window out of --data and --data2 and print the ratio method&apos;s result as JSON (--data minus --data2).</source>
        <translation>ウィンドウを表示しない: シナリオの R 窓で --data と --data2 をフィルターし、比率法の結果を JSON で出力する (差は --data − --data2)。</translation>
    </message>
    <message>
        <source>--data2 needs --data: the ratio method compares two measurements.</source>
        <translation>--data2 には --data が必要です: 比率法は二つの測定を比べます。</translation>
    </message>
    <message>
        <source>--ratio needs --data FILE and --data2 FILE.</source>
        <translation>--ratio には --data FILE と --data2 FILE が必要です。</translation>
    </message>
    <message>
        <source>--data2 is read only by --ratio.</source>
        <translation>--data2 は --ratio でしか読みません。</translation>
    </message>
    <message>
        <source>--ratio runs alone: not with --fit or --export.</source>
        <translation>--ratio は単独で実行します: --fit や --export と一緒には使えません。</translation>
    </message>
    <message>
        <source>No ratio: %1</source>
        <translation>比率を求めません: %1</translation>
    </message>
    <message>
        <source>The scenario&apos;s fit names its own data sets: --data and --mu cannot replace them.</source>
        <translation>シナリオのフィットは自分のデータセットを指定しています。--data や --mu で置き換えることはできません。</translation>
    </message>
</context>
<context>
    <name>FileDialogs</name>
    <message>
        <source>Export picture</source>
        <translation>図を書き出す</translation>
    </message>
    <message>
        <source>PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</source>
        <translation>PNG 画像 (*.png);;SVG 図 (*.svg);;PDF 文書 (*.pdf)</translation>
    </message>
    <message>
        <source>Export data</source>
        <translation>データを書き出す</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV ファイル (*.csv)</translation>
    </message>
</context>
<context>
    <name>FileCommands</name>
    <message>
        <source>Open scenario</source>
        <translation>シナリオを開く</translation>
    </message>
    <message>
        <source>Tovik scenarios (*.tovik.json)</source>
        <translation>Tovik シナリオ (*.tovik.json)</translation>
    </message>
    <message>
        <source>Save scenario as</source>
        <translation>シナリオに名前を付けて保存</translation>
    </message>
    <message>
        <source>Open measured chi(k)</source>
        <translation>測定した χ(k) を開く</translation>
    </message>
    <message>
        <source>chi(k) data (*.chi *.chik *.dat *.txt *.csv *.xy);;All files (*)</source>
        <translation>χ(k) データ (*.chi *.chik *.dat *.txt *.csv *.xy);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>There is no data to export yet.</source>
        <translation>書き出すデータがまだありません。</translation>
    </message>
    <message>
        <source>Open scattering path</source>
        <translation>散乱パスを開く</translation>
    </message>
    <message>
        <source>Path files (feff*.dat);;All files (*)</source>
        <translation>パスファイル (feff*.dat);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Open measured mu(E)</source>
        <translation>測定した μ(E) を開く</translation>
    </message>
    <message>
        <source>mu(E) data (*.xmu *.xdi *.dat *.txt *.csv);;All files (*)</source>
        <translation>μ(E) データ (*.xmu *.xdi *.dat *.txt *.csv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>a mu(E) file</source>
        <translation>μ(E) のファイル</translation>
    </message>
    <message>
        <source>The loaded data were made from mu(E); the standard is made from a chi(k) file. Choose the reference&apos;s chi(k) file instead.</source>
        <translation>読み込んだデータは μ(E) から作ったものです。標準は χ(k) ファイルから作ります。代わりに参照試料の χ(k) ファイルを選んでください。</translation>
    </message>
    <message>
        <source>Choose the reference&apos;s chi(k) file.</source>
        <translation>参照試料の χ(k) ファイルを選んでください。</translation>
    </message>
</context>
<context>
    <name>HeldCurves</name>
    <message>
        <source>held %1</source>
        <translation>残した曲線 %1</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>%1 (held %2)</source>
        <translation>%1（残した曲線 %2）</translation>
    </message>
    <message>
        <source>no path</source>
        <translation>パスなし</translation>
    </message>
    <message>
        <source>path %1</source>
        <translation>パス %1</translation>
    </message>
</context>
<context>
    <name>NotesWindow</name>
    <message>
        <source>Notes</source>
        <translation>授業のノート</translation>
    </message>
    <message>
        <source>What to do, what to look for, and a question to answer</source>
        <translation>やること、見るところ、答える問い</translation>
    </message>
</context>
<context>
    <name>PictureExport</name>
    <message>
        <source>Cannot tell the picture format of &quot;%1&quot;: use .png, .svg or .pdf.</source>
        <translation>「%1」の図の形式が分かりません。.png、.svg、.pdf のいずれかにしてください。</translation>
    </message>
    <message>
        <source>The picture could not be drawn: the plot has no area (%1 x %2 pixels) or the encoder failed.</source>
        <translation>図を描けませんでした。グラフの面積がない（%1 x %2 ピクセル）か、符号化に失敗しました。</translation>
    </message>
</context>
<context>
    <name>SafeFile</name>
    <message>
        <source>Another program is writing into the folder %1; nothing was written.</source>
        <translation>別のプログラムがフォルダ %1 に書き込み中です。何も書き込みませんでした。</translation>
    </message>
    <message>
        <source>The file %1 is larger than %2 MiB, too large for %3.</source>
        <translation>ファイル %1 は %2 MiB を超えていて、%3としては大きすぎます。</translation>
    </message>
    <message>
        <source>it is a folder</source>
        <translation>フォルダです</translation>
    </message>
    <message>
        <source>it is a device or a socket, not a file</source>
        <translation>ファイルではなくデバイスかソケットです</translation>
    </message>
    <message>
        <source>it is a symbolic link</source>
        <translation>シンボリックリンクです</translation>
    </message>
    <message>
        <source>it is not a regular file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>The file %1 cannot be read: %2.</source>
        <translation>ファイル %1 を読めません: %2。</translation>
    </message>
    <message>
        <source>the name is not a usable path</source>
        <translation>名前がパスとして使えません</translation>
    </message>
    <message>
        <source>no data arrived within %1 seconds</source>
        <translation>%1 秒以内にデータが届きませんでした</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2.</source>
        <translation>ファイル %1 に書き込めません: %2。</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 はフォルダではありません</translation>
    </message>
    <message>
        <source>Cannot create the folder %1.</source>
        <translation>フォルダ %1 を作れません。</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>「%1」の後に値がありません。</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>「%1」の後に余分な値があります。</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>「%1」は不明なオプションです。</translation>
    </message>
    <message>
        <source>Unknown options: %1.</source>
        <translation>不明なオプション: %1。</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>使い方: %1</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>オプション:</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>引数:</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>コマンドラインオプションの説明を表示する。</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Qt 固有のオプションを含めて説明を表示する。</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>バージョン情報を表示する。</translation>
    </message>
</context>
<context>
    <name>Scenario</name>
    <message>
        <source>The field %1 must be a number.</source>
        <translation>項目 %1 は数値でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be a finite number.</source>
        <translation>項目 %1 は有限の数値でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must lie between %2 and %3; it is %4.</source>
        <translation>項目 %1 は %2 から %3 の範囲になければなりません (値は %4)。</translation>
    </message>
    <message>
        <source>The field %1 must be a whole number; it is %2.</source>
        <translation>項目 %1 は整数でなければなりません (値は %2)。</translation>
    </message>
    <message>
        <source>The field %1 must be true or false.</source>
        <translation>項目 %1 は true か false でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be an object.</source>
        <translation>項目 %1 はオブジェクトでなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be an array.</source>
        <translation>項目 %1 は配列でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must hold exactly %2 entries; it has %3.</source>
        <translation>項目 %1 の要素はちょうど %2 個でなければなりません (%3 個あります)。</translation>
    </message>
    <message>
        <source>The required field %1 is missing.</source>
        <translation>必須の項目 %1 がありません。</translation>
    </message>
    <message>
        <source>The field %1 must be a string.</source>
        <translation>項目 %1 は文字列でなければなりません。</translation>
    </message>
    <message>
        <source>This is not a Tovik scenario: its format is &quot;%1&quot;, not &quot;%2&quot;.</source>
        <translation>Tovik のシナリオではありません: 形式が「%2」ではなく「%1」です。</translation>
    </message>
    <message>
        <source>This scenario was made by a newer Tovik (version %1); this one reads versions up to %2.</source>
        <translation>このシナリオは新しい Tovik で作られています (バージョン %1)。この Tovik が読めるのはバージョン %2 までです。</translation>
    </message>
    <message>
        <source>The scenario version %1 is unknown.</source>
        <translation>シナリオのバージョン %1 は不明です。</translation>
    </message>
    <message>
        <source>The field %1 must not be smaller than %2.</source>
        <translation>項目 %1 は %2 以上でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be larger than %2.</source>
        <translation>項目 %1 は %2 より大きくなければなりません。</translation>
    </message>
    <message>
        <source>The text is not a JSON object at its top level.</source>
        <translation>最上位が JSON オブジェクトではありません。</translation>
    </message>
    <message>
        <source>a scenario</source>
        <translation>シナリオ</translation>
    </message>
    <message>
        <source>The file %1 cannot be written: %2.</source>
        <translation>ファイル %1 に書き込めません: %2。</translation>
    </message>
    <message>
        <source>The field %1 must hold at most %2 entries; it has %3.</source>
        <translation>項目 %1 の要素は %2 個以下でなければなりません (%3 個あります)。</translation>
    </message>
    <message>
        <source>The field %1 must hold at most %2 characters; it has %3.</source>
        <translation>項目 %1 は %2 文字以下でなければなりません (%3 文字あります)。</translation>
    </message>
    <message>
        <source>The text is not valid JSON: %1 at line %2, column %3.</source>
        <translation>正しい JSON ではありません: %2 行 %3 列目で %1。</translation>
    </message>
    <message>
        <source>The file is written in %1; a scenario must be UTF-8 text.</source>
        <translation>ファイルが %1 で書かれています。シナリオは UTF-8 のテキストでなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be a file name without control characters; it is &quot;%2&quot;.</source>
        <translation>項目 %1 は制御文字を含まないファイル名でなければなりません (値は「%2」)。</translation>
    </message>
    <message>
        <source>The field %1 must name one of %2, each at most once.</source>
        <translation>フィールド %1 は %2 のどれかで、それぞれ一度までです。</translation>
    </message>
    <message>
        <source>The field %1 must hold a lower and a higher R.</source>
        <translation>フィールド %1 には小さい R と大きい R を入れてください。</translation>
    </message>
    <message>
        <source>The field %1 must span a range of R.</source>
        <translation>フィールド %1 は R の範囲を持たなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must hold a lower and a higher k.</source>
        <translation>フィールド %1 には小さい k と大きい k を入れてください。</translation>
    </message>
    <message>
        <source>The fields %1 and %2 cannot both name a file.</source>
        <translation>%1 と %2 の両方にファイルを指定することはできません。</translation>
    </message>
    <message>
        <source>The field %1 must name a chi(k) file.</source>
        <translation>項目 %1 には χ(k) ファイルを指定しなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be larger than 0.</source>
        <translation>項目 %1 は 0 より大きくなければなりません。</translation>
    </message>
    <message>
        <source>The fields %1 and %2 cannot both be given: the main shell takes its amplitude and phase from one or the other.</source>
        <translation>項目 %1 と %2 は同時には指定できません。主殻の振幅と位相はどちらか一方から取ります。</translation>
    </message>
    <message>
        <source>Data set %1: %2</source>
        <translation>データセット %1: %2</translation>
    </message>
    <message>
        <source>Data set %1 (%2): %3</source>
        <translation>データセット %1 (%2): %3</translation>
    </message>
    <message>
        <source>The field %1 must name its data with exactly one of %2 and %3.</source>
        <translation>項目 %1 はデータを %2 と %3 のちょうど一方で指定しなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must name a file.</source>
        <translation>項目 %1 にはファイルを指定しなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must be a temperature above 0 K and at most %2 K; it is %3.</source>
        <translation>項目 %1 は 0 K より高く %2 K 以下の温度でなければなりません (値は %3)。</translation>
    </message>
    <message>
        <source>The field %1 must be &quot;%2&quot; or &quot;%3&quot;.</source>
        <translation>項目 %1 は「%2」か「%3」でなければなりません。</translation>
    </message>
    <message>
        <source>The field %1 must hold from 1 to %2 data sets; it has %3.</source>
        <translation>項目 %1 のデータセットは 1 個から %2 個まででなければなりません (%3 個あります)。</translation>
    </message>
    <message>
        <source>The field %1 is required by the Einstein model.</source>
        <translation>アインシュタインモデルには項目 %1 が必要です。</translation>
    </message>
    <message>
        <source>The field %1 is required by thermal expansion.</source>
        <translation>熱膨張には項目 %1 が必要です。</translation>
    </message>
    <message>
        <source>The first entry of %1 must be the measured data the file shows (%2).</source>
        <translation>%1 の最初の要素は、このファイルが表示する測定データ (%2) でなければなりません。</translation>
    </message>
</context>
<context>
    <name>ShellPath</name>
    <message>
        <source>The path %1 ends at k = %2 Å⁻¹, before the window, which ends at k = %3 Å⁻¹.</source>
        <translation>パス %1 は k = %2 Å⁻¹ で終わり、k = %3 Å⁻¹ まで続く窓より手前です。</translation>
    </message>
    <message>
        <source>standard %1</source>
        <translation>標準 %1</translation>
    </message>
</context>
<context>
    <name>ShellRow</name>
    <message>
        <source>Shell %1</source>
        <translation>散乱殻 %1</translation>
    </message>
    <message>
        <source>In the colour of this shell&apos;s mark on the chi(R) plot</source>
        <translation>χ(R) のグラフでこの散乱殻の印と同じ色です</translation>
    </message>
    <message>
        <source>Distance R of this shell, 0 to 10 Å in steps of 0.1 Å</source>
        <translation>この散乱殻の原子間距離 R (0 から 10 Å、0.1 Å 刻み)</translation>
    </message>
    <message>
        <source>R of this shell in Å: type a value and press Return</source>
        <translation>この散乱殻の R (Å)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Amplitude of this shell relative to the main shell&apos;s, 0 to 2 in steps of 0.05</source>
        <translation>主な散乱殻に対するこの散乱殻の相対振幅 (0 から 2、0.05 刻み)</translation>
    </message>
    <message>
        <source>Relative amplitude of this shell: type a value and press Return</source>
        <translation>この散乱殻の相対振幅。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Remove this shell</source>
        <translation>この散乱殻を削除します</translation>
    </message>
    <message>
        <source>At R = 0 this shell is left out (1/R² is undefined).</source>
        <translation>R = 0 ではこの散乱殻を和に含めません (1/R² が定義されないため)。</translation>
    </message>
    <message>
        <source>R (Å)</source>
        <translation>R (Å)</translation>
    </message>
    <message>
        <source>Amplitude</source>
        <translation>相対振幅</translation>
    </message>
    <message>
        <source>Path…</source>
        <translation>パス…</translation>
    </message>
    <message>
        <source>Give this shell a scattering path file (feffNNNN.dat)</source>
        <translation>この殻に散乱パスファイル (feffNNNN.dat) を与えます</translation>
    </message>
    <message>
        <source>No path</source>
        <translation>パスなし</translation>
    </message>
    <message>
        <source>Take the path away: the shell shares the main shell&apos;s envelope, phase and sigma again</source>
        <translation>パスを外します: この殻は再び主殻の包絡線・位相・σ を共有します</translation>
    </message>
    <message>
        <source>Sigma (Å)</source>
        <translation>σ (Å)</translation>
    </message>
    <message>
        <source>Debye-Waller sigma of this shell&apos;s path, 0 to 0.2 Å in steps of 0.001 Å</source>
        <translation>この殻のパスの Debye-Waller σ、0〜0.2 Å、0.001 Å 刻み</translation>
    </message>
    <message>
        <source>Sigma of this shell&apos;s path in Å: type a value and press Return</source>
        <translation>この殻のパスの σ (Å): 値を入力して Return を押します</translation>
    </message>
    <message>
        <source>dE0 (eV)</source>
        <translation>dE0 (eV)</translation>
    </message>
    <message>
        <source>E0 shift of this shell&apos;s path, -20 to 20 eV in steps of 0.1 eV</source>
        <translation>この殻のパスの E0 シフト、-20〜20 eV、0.1 eV 刻み</translation>
    </message>
    <message>
        <source>E0 shift of this shell&apos;s path in eV: type a value and press Return</source>
        <translation>この殻のパスの E0 シフト (eV): 値を入力して Return を押します</translation>
    </message>
    <message>
        <source>Path: %1</source>
        <translation>パス: %1</translation>
    </message>
</context>
<context>
    <name>ShellsWindow</name>
    <message>
        <source>Shells</source>
        <translation>散乱殻</translation>
    </message>
    <message>
        <source>The shell of the panel&apos;s R slider, in the colour of its mark on the chi(R) plot</source>
        <translation>パネルの R スライダーの散乱殻。χ(R) のグラフの印と同じ色です</translation>
    </message>
    <message>
        <source>Extra shells share n, P0, P1, P2, Sigma and the factors with the main shell; their amplitudes are relative to A.</source>
        <translation>追加の散乱殻は n、P0、P1、P2、σ と各因子を主な散乱殻と共有します。その振幅は A に対する相対値です。</translation>
    </message>
    <message>
        <source>No extra shells.</source>
        <translation>追加の散乱殻はありません。</translation>
    </message>
    <message>
        <source>Add a shell 0.4 Å beyond the main shell with relative amplitude 1 (at most 3 extra shells)</source>
        <translation>主な散乱殻より 0.4 Å 遠くに相対振幅 1 の散乱殻を追加します (追加は 3 つまで)</translation>
    </message>
    <message>
        <source>&amp;Add shell</source>
        <translation>散乱殻を追加(&amp;A)</translation>
    </message>
    <message>
        <source>Main shell: R = %1 Å</source>
        <translation>主な散乱殻: R = %1 Å</translation>
    </message>
    <message>
        <source>Amplitude A</source>
        <translation>振幅 A</translation>
    </message>
    <message>
        <source>Amplitude A = N·S0² of the main shell: N neighbours times the amplitude reduction S0² (copper&apos;s first shell: 12 × 0.9 = 10.8). It multiplies every shell; 0 to 50 in steps of 0.1</source>
        <translation>主な散乱殻の振幅 A = N·S0²: 配位数 N と振幅減衰因子 S0² の積 (銅の第 1 殻では 12 × 0.9 = 10.8)。すべての散乱殻に掛かります。0 から 50 まで 0.1 刻み</translation>
    </message>
    <message>
        <source>Amplitude A = N·S0² of the main shell: type a value and press Return</source>
        <translation>主な散乱殻の振幅 A = N·S0²。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Linear phase P1 (Å)</source>
        <translation>1 次の位相 P1 (Å)</translation>
    </message>
    <message>
        <source>Linear phase P1 of every shell: the phase gains P1·k, which moves each chi(R) peak to R + P1/2 (inward for a negative P1, as real phase shifts have it); −3 to 3 Å in steps of 0.01 Å</source>
        <translation>すべての散乱殻の 1 次の位相 P1: 位相に P1·k が加わり、χ(R) の各ピークは R + P1/2 に移ります (実際の位相シフトのように P1 が負なら内側へ)。−3 から 3 Å まで 0.01 Å 刻み</translation>
    </message>
    <message>
        <source>Linear phase P1 in Å: type a value and press Return</source>
        <translation>1 次の位相 P1 (Å)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Open scattering path</source>
        <translation>散乱パスを開く</translation>
    </message>
    <message>
        <source>Path files (feff*.dat);;All files (*)</source>
        <translation>パスファイル (feff*.dat);;すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>WaveCtrl</name>
    <message>
        <source>Exact value: %1</source>
        <translation>正確な値: %1</translation>
    </message>
    <message>
        <source>N*S0^2 = %1 exactly</source>
        <translation>正確には N*S0^2 = %1</translation>
    </message>
    <message>
        <source>k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 )   : N*S0^2 = %1</source>
        <translation>k^n * 窓関数(k) * N*S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P1 * k + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : N*S0^2 = %1</translation>
    </message>
    <message>
        <source>k^n * W(k) * N*S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 )   : N*S0^2 = %1</source>
        <translation>k^n * 窓関数(k) * N*S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : N*S0^2 = %1</translation>
    </message>
    <message>
        <source>k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P1*k + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 )   : S0 = 1.0</source>
        <translation>k^n * 窓関数(k) * S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P1 * k + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : S0 = 1.0</translation>
    </message>
    <message>
        <source>&amp;Debye Waller</source>
        <translation>デバイ・ワラ因子</translation>
    </message>
    <message>
        <source>E&amp;nvelope</source>
        <translation>後方散乱振幅(包絡線)</translation>
    </message>
    <message>
        <source>Flat</source>
        <translation>包絡線平坦化</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>Waveコントロールパネル</translation>
    </message>
    <message>
        <source>P0 : </source>
        <translation>P0 (0次の位相因子) : </translation>
    </message>
    <message>
        <source>P2 : </source>
        <translation>P2 (2次の位相因子) : </translation>
    </message>
    <message>
        <source>R:</source>
        <translation>R (原子間距離) : </translation>
    </message>
    <message>
        <source>Select Factors : </source>
        <translation>効果選択 : </translation>
    </message>
    <message>
        <source>Sigma :</source>
        <translation>σ (デバイ・ワラ因子) : </translation>
    </message>
    <message>
        <source>W&amp;indow Function</source>
        <translation>窓関数</translation>
    </message>
    <message>
        <source>k^n * W(k) * S0^2 * (1/k) * (1/R^2) * F(k) * sin( 2KR + P0 + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 )   : S0 = 1.0</source>
        <translation>k^n * 窓関数(k) * S0^2 * (1/k) * (1/R^2) * 後方散乱振幅(k) * sin( 2KR + P0 + P2 * k^2 ) * exp( -2 * σ^2 * k^2 )   : S0 = 1.0</translation>
    </message>
    <message>
        <source>n:</source>
        <translation>n (k^nの次数)</translation>
    </message>
    <message>
        <source>The formula chi(k) is made of; the switches below choose its factors</source>
        <translation>χ(k) を作る式。下のスイッチで因子を選びます</translation>
    </message>
    <message>
        <source>Power n of the k weighting k^n, 1 to 3</source>
        <translation>k の重み k^n の次数 n (1 から 3)</translation>
    </message>
    <message>
        <source>Power n of the k weighting</source>
        <translation>k の重みの次数 n</translation>
    </message>
    <message>
        <source>Distance R of the shell, 0 to 10 Å in steps of 0.1 Å</source>
        <translation>原子間距離 R (0 から 10 Å、0.1 Å 刻み)</translation>
    </message>
    <message>
        <source>Distance R of the shell in Å: type a value and press Return</source>
        <translation>原子間距離 R (Å)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Constant phase P0, −10 to 10 rad in steps of 0.1 rad</source>
        <translation>定数の位相 P0 (−10 から 10 rad、0.1 rad 刻み)</translation>
    </message>
    <message>
        <source>Constant phase P0 in rad: type a value and press Return</source>
        <translation>定数の位相 P0 (rad)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Quadratic phase P2 (the phase gains P2·k²), −1 to 1 rad Å² in steps of 0.01</source>
        <translation>2 次の位相 P2 (位相に P2·k² が加わる。−1 から 1 rad Å²、0.01 刻み)</translation>
    </message>
    <message>
        <source>Quadratic phase P2 in rad Å²: type a value and press Return</source>
        <translation>2 次の位相 P2 (rad Å²)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Debye-Waller sigma, 0 to 0.2 Å in steps of 0.001 Å</source>
        <translation>デバイ・ワラ因子の σ (0 から 0.2 Å、0.001 Å 刻み)</translation>
    </message>
    <message>
        <source>Debye-Waller sigma in Å: type a value and press Return</source>
        <translation>デバイ・ワラ因子の σ (Å)。値を入力して Enter を押します</translation>
    </message>
    <message>
        <source>Put every envelope point back to F = 1</source>
        <translation>包絡線の点をすべて F = 1 に戻す</translation>
    </message>
    <message>
        <source>Multiply chi(k) by the envelope F(k)</source>
        <translation>χ(k) に包絡線 F(k) を掛ける</translation>
    </message>
    <message>
        <source>Multiply chi(k) by the window W(k)</source>
        <translation>χ(k) に窓関数 W(k) を掛ける</translation>
    </message>
    <message>
        <source>Multiply chi(k) by the Debye-Waller factor exp(−2σ²k²)</source>
        <translation>χ(k) にデバイ・ワラ因子 exp(−2σ²k²) を掛ける</translation>
    </message>
    <message>
        <source>dE0 :</source>
        <translation>dE0 (E0シフト) : </translation>
    </message>
    <message>
        <source>E0 shift of the scattering path, -20 to 20 eV in steps of 0.1 eV (moves only a shell with a path)</source>
        <translation>散乱パスの E0 シフト、-20〜20 eV、0.1 eV 刻み (パスのある殻だけを動かします)</translation>
    </message>
    <message>
        <source>E0 shift in eV: type a value and press Return</source>
        <translation>E0 シフト (eV): 値を入力して Return を押します</translation>
    </message>
    <message>
        <source>k^n * W(k) * N*S0^2 * |f(k)| * exp(-2R/lambda(k)) / (k R^2) * sin( 2kR + phase(k) + P0 + P1*k + P2*k^2 ) * exp( -2 * Sigma^2 * k^2 ),  k = sqrt(k^2 - 0.2625*dE0)   : N*S0^2 = %1, path %2</source>
        <translation>k^n * W(k) * N*S0^2 * |f(k)| * exp(-2R/λ(k)) / (k R^2) * sin( 2kR + 位相(k) + P0 + P1*k + P2*k^2 ) * exp( -2 * σ^2 * k^2 ),  k = sqrt(k^2 - 0.2625*dE0)   : N*S0^2 = %1, パス %2</translation>
    </message>
</context>
<context>
    <name>WindowFunc</name>
    <message>
        <source>&amp;Linear</source>
        <translation>線形</translation>
    </message>
    <message>
        <source>Frame</source>
        <translation>窓関数コントロールパネル</translation>
    </message>
    <message>
        <source>H&amp;anning</source>
        <translation>ハニング関数</translation>
    </message>
    <message>
        <source>Half-cosine (Hanning) rise and fall</source>
        <translation>半周期の余弦 (ハニング) で立ち上がり・立ち下がる窓</translation>
    </message>
    <message>
        <source>Window position 1, where W(k) starts to rise, in Å⁻¹</source>
        <translation>窓の位置 1: W(k) が立ち上がり始める k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Window position 2, where W(k) reaches 1, in Å⁻¹</source>
        <translation>窓の位置 2: W(k) が 1 に達する k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Window position 3, where W(k) starts to fall, in Å⁻¹</source>
        <translation>窓の位置 3: W(k) が下がり始める k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Window position 4, where W(k) reaches 0, in Å⁻¹</source>
        <translation>窓の位置 4: W(k) が 0 に達する k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Straight-line rise and fall: not available, because this version shapes W(k) with half-cosine (Hanning) rise and fall only</source>
        <translation>直線で立ち上がり・立ち下がる窓: 使えません。この版の W(k) は半周期の余弦 (ハニング) で立ち上がり・立ち下がる形だけです</translation>
    </message>
</context>
<context>
    <name>FourierFilter</name>
    <message>
        <source>The transform needs a length that is a power of two, at least 4; it is %1.</source>
        <translation>変換の長さは 4 以上の 2 のべき乗でなければなりません。いまは %1 です。</translation>
    </message>
    <message>
        <source>The k grid needs a finite start and a positive step; the step is %1 Å⁻¹.</source>
        <translation>k の格子には有限の始点と正の刻みが必要です。いまの刻みは %1 Å⁻¹ です。</translation>
    </message>
    <message>
        <source>The k grid holds no signal to filter.</source>
        <translation>k の格子にフィルターをかける信号がありません。</translation>
    </message>
    <message>
        <source>There is no spectrum to filter.</source>
        <translation>フィルターをかけるスペクトルがありません。</translation>
    </message>
    <message>
        <source>The spectrum&apos;s factor must be a finite number other than 0; it is %1.</source>
        <translation>スペクトルの係数は 0 以外の有限の数値でなければなりません。いまは %1 です。</translation>
    </message>
    <message>
        <source>The k window has %1 values for %2 points of signal.</source>
        <translation>k の窓関数の値は %1 個ですが、信号の点は %2 個あります。</translation>
    </message>
    <message>
        <source>The least weight must be a number from 0 to 1; it is %1.</source>
        <translation>最小の重みは 0 から 1 までの数値でなければなりません。いまは %1 です。</translation>
    </message>
    <message>
        <source>The R window&apos;s positions must be finite numbers.</source>
        <translation>R の窓関数の位置は有限の数値でなければなりません。</translation>
    </message>
</context>
<context>
    <name>FitProblem</name>
    <message>
        <source>No measured data are loaded.</source>
        <translation>測定データが読み込まれていません。</translation>
    </message>
    <message>
        <source>The R range must have 0 &lt;= Rmin &lt; Rmax.</source>
        <translation>R の範囲は 0 &lt;= Rmin &lt; Rmax でなければなりません。</translation>
    </message>
    <message>
        <source>The R range holds no point of the transform.</source>
        <translation>R の範囲に変換の点がひとつもありません。</translation>
    </message>
    <message>
        <source>The R range starts beyond the transform, which ends at %1 Å.</source>
        <translation>R の範囲が、%1 Å で終わる変換より先から始まっています。</translation>
    </message>
    <message>
        <source>The k window and the data&apos;s k range do not overlap.</source>
        <translation>k の窓とデータの k の範囲が重なっていません。</translation>
    </message>
    <message>
        <source>The data are too large: their transform overflows in the R range.</source>
        <translation>データが大きすぎます。R の範囲で変換があふれます。</translation>
    </message>
    <message>
        <source>The data have no signal in the R range.</source>
        <translation>データには R の範囲に信号がありません。</translation>
    </message>
    <message>
        <source>The main shell is at R = 0, where it has no signal (1/R²): set R above 0 or vary it.</source>
        <translation>主な散乱殻が R = 0 にあり、信号がありません (1/R²)。R を 0 より大きくするか、動かすパラメータにしてください。</translation>
    </message>
    <message>
        <source>dE0 moves only a shell with a scattering path: open a path for the main shell or do not vary dE0.</source>
        <translation>dE0 は散乱パスのある殻だけを動かします: 主殻にパスを開くか、dE0 を変化させないでください。</translation>
    </message>
</context>
<context>
    <name>DataSetFit</name>
    <message>
        <source>Data set %1 (%2): %3</source>
        <translation>データセット %1 (%2): %3</translation>
    </message>
    <message>
        <source>No data set is given.</source>
        <translation>データセットがありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a parameter this fit can vary.</source>
        <translation>「%1」はこのフィットで動かせるパラメータではありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; belongs to the Einstein model of sigma, which this fit does not use.</source>
        <translation>「%1」は sigma のアインシュタインモデルのパラメータですが、このフィットはそのモデルを使いません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be given per data set.</source>
        <translation>「%1」はデータセットごとには与えられません。</translation>
    </message>
    <message>
        <source>R follows thermal expansion, so it cannot be given per data set.</source>
        <translation>R は熱膨張に従うので、データセットごとには与えられません。</translation>
    </message>
    <message>
        <source>The Einstein model needs the pair&apos;s reduced mass, above 0 u.</source>
        <translation>アインシュタインモデルには原子対の換算質量 (0 u より大きい値) が必要です。</translation>
    </message>
    <message>
        <source>its temperature must be given, above 0 K.</source>
        <translation>温度 (0 K より大きい値) が与えられていません。</translation>
    </message>
    <message>
        <source>its k-weight differs from the first data set&apos;s.</source>
        <translation>k の重みが 1 番目のデータセットと異なります。</translation>
    </message>
    <message>
        <source>%1 starts at %2, outside its limits %3 to %4.</source>
        <translation>%1 の初期値 %2 が範囲 %3 〜 %4 の外にあります。</translation>
    </message>
</context>
<context>
    <name>FitWindow</name>
    <message>
        <source>Data sets</source>
        <translation>データセット</translation>
    </message>
    <message>
        <source>The data sets fitted together: the loaded measured data first, then those added. Type each temperature in K; the Einstein model needs every one</source>
        <translation>まとめてフィットするデータセット。最初が読み込んだ測定データ、その後が追加したもの。温度を K で入力します。アインシュタインモデルではすべてに必要です</translation>
    </message>
    <message>
        <source>File</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <source>Temperature (K)</source>
        <translation>温度 (K)</translation>
    </message>
    <message>
        <source>A&amp;dd…</source>
        <translation>追加(&amp;D)…</translation>
    </message>
    <message>
        <source>Add a data set: a chi(k) file, or a mu(E) file processed with the current absorption settings</source>
        <translation>データセットを追加します。chi(k) のファイル、または今の吸収スペクトルの設定で処理する mu(E) のファイル</translation>
    </message>
    <message>
        <source>Re&amp;move</source>
        <translation>削除(&amp;M)</translation>
    </message>
    <message>
        <source>Remove the selected data set (the loaded data stay the first)</source>
        <translation>選んだデータセットを削除します（読み込んだデータは最初のまま残ります）</translation>
    </message>
    <message>
        <source>&amp;Show all data sets</source>
        <translation>すべてのデータセットを表示(&amp;S)</translation>
    </message>
    <message>
        <source>Draw every data set and its fitted model on the chi(k) and chi(R) plots, each in its own colour</source>
        <translation>すべてのデータセットとそのフィットしたモデルを chi(k) と chi(R) のグラフにそれぞれの色で描きます</translation>
    </message>
    <message>
        <source>Per data set:</source>
        <translation>データセットごと:</translation>
    </message>
    <message>
        <source>The amplitude N·S0²: one value for each data set when checked, one shared by all otherwise</source>
        <translation>振幅 N·S0²。チェックするとデータセットごとに値を持ち、しなければすべてで共通です</translation>
    </message>
    <message>
        <source>The distance R (Å): one value for each data set when checked, one shared by all otherwise</source>
        <translation>距離 R (Å)。チェックするとデータセットごとに値を持ち、しなければすべてで共通です</translation>
    </message>
    <message>
        <source>The E0 shift dE0 (eV): one value for each data set when checked, one shared by all otherwise</source>
        <translation>E0 のずれ dE0 (eV)。チェックするとデータセットごとに値を持ち、しなければすべてで共通です</translation>
    </message>
    <message>
        <source>The Debye-Waller sigma (Å): one value for each data set when checked, one shared by all otherwise (free model only)</source>
        <translation>デバイ-ワラーの σ (Å)。チェックするとデータセットごとに値を持ち、しなければすべてで共通です（自由モデルのみ）</translation>
    </message>
    <message>
        <source>Sigma model</source>
        <translation>σ のモデル</translation>
    </message>
    <message>
        <source>Sigma²:</source>
        <translation>σ²:</translation>
    </message>
    <message>
        <source>Free: sigma (Å) is fitted like the other parameters. Einstein: sigma² (Å²) at each temperature from one Einstein temperature θ_E (K) and a static part sigma²₀ (Å²)</source>
        <translation>自由: σ (Å) を他のパラメータと同じようにフィットします。アインシュタイン: 各温度の σ² (Å²) を一つのアインシュタイン温度 θ_E (K) と静的な部分 σ²₀ (Å²) から求めます</translation>
    </message>
    <message>
        <source>free</source>
        <translation>自由</translation>
    </message>
    <message>
        <source>Einstein</source>
        <translation>アインシュタイン</translation>
    </message>
    <message>
        <source>θ_E (K)</source>
        <translation>θ_E (K)</translation>
    </message>
    <message>
        <source>The Einstein temperature θ_E in K: varied by the fit when checked; the box holds its start</source>
        <translation>アインシュタイン温度 θ_E (K)。チェックするとフィットで動かします。欄の値が初期値です</translation>
    </message>
    <message>
        <source>The Einstein temperature θ_E in K: the fit starts here (10 to 3000 K)</source>
        <translation>アインシュタイン温度 θ_E (K)。フィットはこの値から始まります（10 から 3000 K）</translation>
    </message>
    <message>
        <source>σ²₀ (Å²)</source>
        <translation>σ²₀ (Å²)</translation>
    </message>
    <message>
        <source>The static part sigma²₀ in Å², added at every temperature: varied by the fit when checked; the box holds its start</source>
        <translation>どの温度にも加わる静的な部分 σ²₀ (Å²)。チェックするとフィットで動かします。欄の値が初期値です</translation>
    </message>
    <message>
        <source>The static part sigma²₀ in Å²: the fit starts here (0 to 0.02 Å²)</source>
        <translation>静的な部分 σ²₀ (Å²)。フィットはこの値から始まります（0 から 0.02 Å²）</translation>
    </message>
    <message>
        <source>Reduced mass (u):</source>
        <translation>換算質量 (u):</translation>
    </message>
    <message>
        <source>The reduced mass of the pair in atomic mass units (u); empty: from the two atoms of the main shell&apos;s path file</source>
        <translation>原子対の換算質量（原子質量単位 u）。空欄なら主な散乱殻のパスファイルの二つの原子から求めます</translation>
    </message>
    <message>
        <source>α (1/K)</source>
        <translation>α (1/K)</translation>
    </message>
    <message>
        <source>Thermal expansion: ΔR(T) = ΔR₀ + α·T·reff, with α in 1/K, T in K and reff in Å; α varied by the fit when checked</source>
        <translation>熱膨張: ΔR(T) = ΔR₀ + α·T·reff（α は 1/K、T は K、reff は Å）。チェックすると α をフィットで動かします</translation>
    </message>
    <message>
        <source>The linear expansion coefficient α in 1/K: the fit starts here (-1e-4 to 1e-4 1/K)</source>
        <translation>線膨張係数 α (1/K)。フィットはこの値から始まります（-1e-4 から 1e-4 1/K）</translation>
    </message>
    <message>
        <source>Data set %1 (%2): its temperature must be above 0 K.</source>
        <translation>データセット %1 (%2): 温度は 0 K より上でなければなりません。</translation>
    </message>
    <message>
        <source>Type a number for %1.</source>
        <translation>%1 に数を入力してください。</translation>
    </message>
    <message>
        <source>Type the reduced mass in u as a number above 0, or leave it empty to take it from the path file.</source>
        <translation>換算質量を 0 より大きい数で u 単位で入力するか、空欄にしてパスファイルから求めてください。</translation>
    </message>
    <message>
        <source>The Einstein model needs the pair&apos;s reduced mass: type it in u, or give the main shell a path file.</source>
        <translation>アインシュタインモデルには原子対の換算質量が必要です。u 単位で入力するか、主な散乱殻にパスファイルを与えてください。</translation>
    </message>
    <message>
        <source>(no data loaded)</source>
        <translation>（データなし）</translation>
    </message>
    <message>
        <source>%1 (mu(E), processed with the absorption settings)</source>
        <translation>%1（mu(E)、吸収スペクトルの設定で処理）</translation>
    </message>
    <message>
        <source>The temperature the data set was measured at, in K</source>
        <translation>データセットを測定した温度 (K)</translation>
    </message>
    <message>
        <source>Temperature</source>
        <translation>温度</translation>
    </message>
    <message>
        <source>Data set %1 (%2): type its temperature in K as a number above 0, or leave it empty.</source>
        <translation>データセット %1 (%2): 温度を 0 より大きい数で K 単位で入力するか、空欄にしてください。</translation>
    </message>
    <message>
        <source>Data set %1 (%2) cannot be added: %3</source>
        <translation>データセット %1 (%2) を追加できません: %3</translation>
    </message>
    <message>
        <source>chi(k) data (*.chi *.dat *.txt *.csv);;All files (*)</source>
        <translation>chi(k) データ (*.chi *.dat *.txt *.csv);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>mu(E) data (*.xmu *.dat *.txt *.csv)</source>
        <translation>mu(E) データ (*.xmu *.dat *.txt *.csv)</translation>
    </message>
    <message>
        <source>Add data set</source>
        <translation>データセットの追加</translation>
    </message>
    <message>
        <source>%1 from the path</source>
        <translation>パスから %1</translation>
    </message>
    <message>
        <source>no path: type it</source>
        <translation>パスなし: 入力してください</translation>
    </message>
    <message>
        <source>Data set %1: %2</source>
        <translation>データセット %1: %2</translation>
    </message>
    <message>
        <source>%1, set %2</source>
        <translation>%1、データセット %2</translation>
    </message>
    <message>
        <source>%1 K</source>
        <translation>%1 K</translation>
    </message>
    <message>
        <source>no temperature</source>
        <translation>温度なし</translation>
    </message>
    <message>
        <source>Data set %1 (%2, %3): %4   R-factor: %5</source>
        <translation>データセット %1 (%2、%3): %4   R 因子: %5</translation>
    </message>
    <message>
        <source>Independent points: %1 (the sum over the data sets)</source>
        <translation>独立な点の数: %1（データセットの和）</translation>
    </message>
    <message>
        <source>Fit</source>
        <translation>フィット</translation>
    </message>
    <message>
        <source>Vary</source>
        <translation>動かすパラメータ</translation>
    </message>
    <message>
        <source>N·S0²</source>
        <translation>N·S0²</translation>
    </message>
    <message>
        <source>The amplitude N·S0² of the main shell: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>主な散乱殻の振幅 N·S0²。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>The distance R of the main shell: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>主な散乱殻の距離 R。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>Sigma</source>
        <translation>σ</translation>
    </message>
    <message>
        <source>The Debye-Waller sigma: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>デバイ・ワラーの σ。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>P0</source>
        <translation>P0</translation>
    </message>
    <message>
        <source>The constant phase P0: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>定数位相 P0。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>P1</source>
        <translation>P1</translation>
    </message>
    <message>
        <source>The linear phase P1: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>一次の位相 P1。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>P2</source>
        <translation>P2</translation>
    </message>
    <message>
        <source>The quadratic phase P2: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>二次の位相 P2。チェックするとフィットで動かし、しなければ今の値のままにします</translation>
    </message>
    <message>
        <source>R range (Å):</source>
        <translation>R の範囲 (Å):</translation>
    </message>
    <message>
        <source>Lower end of the R range compared with the data, in Å</source>
        <translation>データと比べる R の範囲の下端 (Å)</translation>
    </message>
    <message>
        <source>to</source>
        <translation>から</translation>
    </message>
    <message>
        <source>Upper end of the R range compared with the data, in Å</source>
        <translation>データと比べる R の範囲の上端 (Å)</translation>
    </message>
    <message>
        <source>&amp;Fit</source>
        <translation>フィット(&amp;F)</translation>
    </message>
    <message>
        <source>Least-squares fit of the model to the measured data over the R range (MINPACK&apos;s Levenberg-Marquardt)</source>
        <translation>R の範囲でモデルを測定データに最小二乗フィットします（MINPACK のレーベンバーグ・マーカート法）</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>適用(&amp;A)</translation>
    </message>
    <message>
        <source>Put the best values into the model</source>
        <translation>最適値をモデルに入れます</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>元に戻す(&amp;U)</translation>
    </message>
    <message>
        <source>Restore the values the model had before Apply</source>
        <translation>適用する前のモデルの値に戻します</translation>
    </message>
    <message>
        <source>The fit&apos;s result: best values with standard errors, goodness of fit, strong correlations</source>
        <translation>フィットの結果: 最適値と標準誤差、当てはまりのよさ、強い相関</translation>
    </message>
    <message>
        <source>Open measured chi(k) data to fit the model to them.</source>
        <translation>モデルをフィットするには、測定した χ(k) のデータを開いてください。</translation>
    </message>
    <message>
        <source>Type an R range with 0 &lt;= Rmin &lt; Rmax.</source>
        <translation>0 &lt;= Rmin &lt; Rmax となる R の範囲を入力してください。</translation>
    </message>
    <message>
        <source>The fit cannot run: %1</source>
        <translation>フィットを実行できません: %1</translation>
    </message>
    <message>
        <source>R (Å)</source>
        <translation>R (Å)</translation>
    </message>
    <message>
        <source>Sigma (Å)</source>
        <translation>σ (Å)</translation>
    </message>
    <message>
        <source>P1 (Å)</source>
        <translation>P1 (Å)</translation>
    </message>
    <message>
        <source>P2 (Å²)</source>
        <translation>P2 (Å²)</translation>
    </message>
    <message>
        <source>%1 = %2 ± %3</source>
        <translation>%1 = %2 ± %3</translation>
    </message>
    <message>
        <source>%1 = %2 (fixed)</source>
        <translation>%1 = %2（固定）</translation>
    </message>
    <message>
        <source>Independent points: %1 (k %2 to %3 1/Å)</source>
        <translation>独立な点の数: %1（k は %2 から %3 1/Å）</translation>
    </message>
    <message>
        <source>Chi-square: %1   reduced: %2   R-factor: %3</source>
        <translation>カイ二乗: %1   換算カイ二乗: %2   R 因子: %3</translation>
    </message>
    <message>
        <source>Correlation %1 – %2: %3</source>
        <translation>相関 %1 – %2: %3</translation>
    </message>
    <message>
        <source>%1 model evaluations; MINPACK: %2</source>
        <translation>モデルの計算 %1 回。MINPACK: %2</translation>
    </message>
    <message>
        <source>The k range the model is compared with the data over: the window&apos;s outer positions within the data&apos;s k range, in 1/Å</source>
        <translation>モデルをデータと比べる k の範囲。窓の外側の位置のうちデータの k の範囲にある部分 (1/Å)</translation>
    </message>
    <message>
        <source>k compared: no data</source>
        <translation>比べる k: データなし</translation>
    </message>
    <message>
        <source>k compared: %1 to %2 1/Å</source>
        <translation>比べる k: %1 から %2 1/Å</translation>
    </message>
    <message>
        <source>k compared: none, the window and the data do not overlap</source>
        <translation>比べる k: なし（窓とデータが重なっていません）</translation>
    </message>
    <message>
        <source>The model or the data changed since this fit: fit again to apply a result.</source>
        <translation>このフィットの後でモデルかデータが変わりました。結果を適用するにはもう一度フィットしてください。</translation>
    </message>
    <message>
        <source>%1 = %2 (no error: the data do not determine it)</source>
        <translation>%1 = %2（誤差なし: データから決まりません）</translation>
    </message>
    <message>
        <source>%1 = %2 (at its limit)</source>
        <translation>%1 = %2（範囲の端）</translation>
    </message>
    <message>
        <source>σ² = %1 ± %2 Å²</source>
        <translation>σ² = %1 ± %2 Å²</translation>
    </message>
    <message>
        <source>σ² = %1 Å²</source>
        <translation>σ² = %1 Å²</translation>
    </message>
    <message>
        <source>%1 ended at its limit: the errors of the other parameters do not hold then.</source>
        <translation>%1 が範囲の端で止まりました。このとき他のパラメータの誤差は成り立ちません。</translation>
    </message>
    <message>
        <source>Noise: εR = %1 Å%2 (rms |χ(R)| over %3 to %4 Å), εk = %5 (in χ(k))</source>
        <translation>ノイズ: εR = %1 Å%2（%3 から %4 Å での |χ(R)| の二乗平均平方根）、εk = %5（χ(k) で）</translation>
    </message>
    <message>
        <source>dE0</source>
        <translation>dE0</translation>
    </message>
    <message>
        <source>The E0 shift dE0 (eV) of the main shell&apos;s scattering path: varied by the fit when checked, kept at its current value otherwise</source>
        <translation>主殻の散乱パスの E0 シフト dE0 (eV): チェックするとフィットで変化させ、しなければ今の値のままです</translation>
    </message>
    <message>
        <source>dE0 (eV)</source>
        <translation>dE0 (eV)</translation>
    </message>
</context>
<context>
    <name>Fitter</name>
    <message>
        <source>No parameter is varied.</source>
        <translation>動かすパラメータがありません。</translation>
    </message>
    <message>
        <source>%1 parameters are varied, but the data hold only %2 independent points: widen the k or R range, or vary fewer.</source>
        <translation>%1 個のパラメータを動かしますが、データには独立な点が %2 個しかありません。k か R の範囲を広げるか、動かすパラメータを減らしてください。</translation>
    </message>
    <message>
        <source>Fewer residuals than parameters.</source>
        <translation>残差の数がパラメータの数より少なくなっています。</translation>
    </message>
    <message>
        <source>The model gave a non-finite value during the fit.</source>
        <translation>フィットの途中でモデルが有限でない値になりました。</translation>
    </message>
    <message>
        <source>improper input parameters</source>
        <translation>入力パラメータが不適切です</translation>
    </message>
    <message>
        <source>relative reduction of the sum of squares is at most ftol</source>
        <translation>二乗和の相対的な減少が ftol 以下になりました</translation>
    </message>
    <message>
        <source>relative change of the parameters is at most xtol</source>
        <translation>パラメータの相対的な変化が xtol 以下になりました</translation>
    </message>
    <message>
        <source>relative reduction of the sum of squares is at most ftol and relative change of the parameters is at most xtol</source>
        <translation>二乗和の相対的な減少が ftol 以下、パラメータの相対的な変化が xtol 以下になりました</translation>
    </message>
    <message>
        <source>the residuals are orthogonal to the Jacobian&apos;s columns to machine precision (gtol)</source>
        <translation>残差がヤコビアンの列と計算精度の範囲で直交しています (gtol)</translation>
    </message>
    <message>
        <source>the number of model evaluations reached its limit</source>
        <translation>モデルの計算回数が上限に達しました</translation>
    </message>
    <message>
        <source>ftol is too small: no further reduction of the sum of squares is possible</source>
        <translation>ftol が小さすぎます。二乗和をこれ以上減らせません</translation>
    </message>
    <message>
        <source>xtol is too small: no further improvement of the parameters is possible</source>
        <translation>xtol が小さすぎます。パラメータをこれ以上よくできません</translation>
    </message>
    <message>
        <source>gtol is too small: the residuals are orthogonal to the Jacobian&apos;s columns to machine precision</source>
        <translation>gtol が小さすぎます。残差がヤコビアンの列と計算精度の範囲で直交しています</translation>
    </message>
    <message>
        <source>the model could not be evaluated (a non-finite value)</source>
        <translation>モデルを計算できませんでした（有限でない値）</translation>
    </message>
    <message>
        <source>The fit did not converge (MINPACK: %1). Start nearer a fit, vary fewer parameters or choose another R range.</source>
        <translation>フィットは収束しませんでした（MINPACK: %1）。フィットに近い値から始めるか、動かすパラメータを減らすか、別の R の範囲を選んでください。</translation>
    </message>
</context>
<context>
    <name>RatioMethod</name>
    <message>
        <source>The k range %1 to %2 Å⁻¹ needs two finite numbers, the first below the second.</source>
        <translation>k の範囲 %1 〜 %2 Å⁻¹ には、一つ目が二つ目より小さい二つの有限の数値が必要です。</translation>
    </message>
    <message>
        <source>A filtered spectrum needs as many amplitudes and phases as q values.</source>
        <translation>フィルター後のスペクトルには、q の値と同じ数の振幅と位相が必要です。</translation>
    </message>
    <message>
        <source>A filtered spectrum holds no points.</source>
        <translation>フィルター後のスペクトルに点がありません。</translation>
    </message>
    <message>
        <source>The k range %1 to %2 Å⁻¹ reaches beyond a filtered spectrum, which spans %3 to %4 Å⁻¹.</source>
        <translation>k の範囲 %1 〜 %2 Å⁻¹ が、フィルター後のスペクトルの範囲 %3 〜 %4 Å⁻¹ をはみ出しています。</translation>
    </message>
    <message>
        <source>The two filtered spectra do not share their q values between %1 and %2 Å⁻¹.</source>
        <translation>二つのフィルター後のスペクトルは、%1 〜 %2 Å⁻¹ で同じ q の値を持っていません。</translation>
    </message>
    <message>
        <source>The k range %1 to %2 Å⁻¹ holds %3 points; a straight line with errors needs at least 3.</source>
        <translation>k の範囲 %1 〜 %2 Å⁻¹ には %3 点しかありません。誤差付きの直線には少なくとも 3 点が必要です。</translation>
    </message>
    <message>
        <source>The amplitude at k = %1 Å⁻¹ is %2; the ratio needs it positive.</source>
        <translation>k = %1 Å⁻¹ での振幅が %2 です。比を取るには正でなければなりません。</translation>
    </message>
    <message>
        <source>The phase at k = %1 Å⁻¹ is not a finite number.</source>
        <translation>k = %1 Å⁻¹ での位相が有限の数値ではありません。</translation>
    </message>
</context>
<context>
    <name>PathFile</name>
    <message>
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>This is a binary file, not a scattering path file.</source>
        <translation>バイナリファイルで、散乱経路のファイルではありません。</translation>
    </message>
    <message>
        <source>the line naming nleg, deg and reff must begin with those three numbers.</source>
        <translation>nleg, deg, reff を示す行は、その 3 つの数値で始まらなければなりません。</translation>
    </message>
    <message>
        <source>a path has at least two legs; this one has %1.</source>
        <translation>経路には 2 本以上の脚が必要ですが、この経路は %1 本です。</translation>
    </message>
    <message>
        <source>the degeneracy must be positive; it is %1.</source>
        <translation>縮重度は正でなければなりませんが、%1 です。</translation>
    </message>
    <message>
        <source>reff must be positive; it is %1 Å.</source>
        <translation>reff は正でなければなりませんが、%1 Å です。</translation>
    </message>
    <message>
        <source>a path of %1 legs lists %1 atoms; this one lists %2.</source>
        <translation>脚が %1 本の経路には原子が %1 個並ぶはずですが、%2 個しかありません。</translation>
    </message>
    <message>
        <source>the line naming the columns (%1) is missing before the rows of numbers.</source>
        <translation>数値の行の前に、列の名前 (%1) を示す行がありません。</translation>
    </message>
    <message>
        <source>an atom&apos;s line needs x, y, z (Å), its potential and its atomic number Z.</source>
        <translation>原子の行には x, y, z (Å)、ポテンシャルの番号、原子番号 Z が必要です。</translation>
    </message>
    <message>
        <source>Z = %1 is not an element from 1 to %2.</source>
        <translation>Z = %1 は 1 から %2 までの元素ではありません。</translation>
    </message>
    <message>
        <source>a row needs seven numbers (%1); it has %2.</source>
        <translation>行には 7 つの数値 (%1) が必要ですが、%2 つしかありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; (%2) is not a finite number.</source>
        <translation>「%1」(%2) は有限の数値ではありません。</translation>
    </message>
    <message>
        <source>k must not be negative; it is %1 Å⁻¹.</source>
        <translation>k は負であってはなりませんが、%1 Å⁻¹ です。</translation>
    </message>
    <message>
        <source>k must increase from row to row; %1 Å⁻¹ follows %2 Å⁻¹.</source>
        <translation>k は行ごとに増えなければなりませんが、%2 Å⁻¹ の次が %1 Å⁻¹ です。</translation>
    </message>
    <message>
        <source>the mean free path lambda must be positive; it is %1 Å.</source>
        <translation>平均自由行程 lambda は正でなければなりませんが、%1 Å です。</translation>
    </message>
    <message>
        <source>This is not a scattering path file: no line gives nleg, deg and reff.</source>
        <translation>散乱経路のファイルではありません。nleg, deg, reff を示す行がありません。</translation>
    </message>
    <message>
        <source>The path file has no line naming the columns (%1).</source>
        <translation>経路のファイルに、列の名前 (%1) を示す行がありません。</translation>
    </message>
    <message>
        <source>The path file holds %1 rows of numbers; at least %2 are needed.</source>
        <translation>経路のファイルには数値の行が %1 行しかありません。%2 行以上必要です。</translation>
    </message>
    <message>
        <source>a scattering path</source>
        <translation>散乱経路</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>PathChi</name>
    <message>
        <source>k = %1 is not a finite number.</source>
        <translation>k = %1 は有限の数値ではありません。</translation>
    </message>
    <message>
        <source>k = %1 Å⁻¹ lies beyond the path&apos;s last k, %2 Å⁻¹.</source>
        <translation>k = %1 Å⁻¹ は経路の最後の k (%2 Å⁻¹) を超えています。</translation>
    </message>
    <message>
        <source>k = %1 Å⁻¹ lies below the path&apos;s first k, %2 Å⁻¹.</source>
        <translation>k = %1 Å⁻¹ は経路の最初の k (%2 Å⁻¹) より小さい値です。</translation>
    </message>
    <message>
        <source>k = %1 Å⁻¹ with an E0 shift of %2 eV reads the path at %3 Å⁻¹, beyond its last k, %4 Å⁻¹.</source>
        <translation>E0 のずれ %2 eV のもとで k = %1 Å⁻¹ は経路の %3 Å⁻¹ を読みますが、これは最後の k (%4 Å⁻¹) を超えています。</translation>
    </message>
    <message>
        <source>k = %1 Å⁻¹ with an E0 shift of %2 eV reads the path at %3 Å⁻¹, below its first k, %4 Å⁻¹.</source>
        <translation>E0 のずれ %2 eV のもとで k = %1 Å⁻¹ は経路の %3 Å⁻¹ を読みますが、これは最初の k (%4 Å⁻¹) より小さい値です。</translation>
    </message>
    <message>
        <source>The path&apos;s parameters must be finite numbers.</source>
        <translation>経路のパラメータは有限の数値でなければなりません。</translation>
    </message>
    <message>
        <source>R = reff + ΔR must be positive; it is %1 Å.</source>
        <translation>R = reff + ΔR は正でなければなりませんが、%1 Å です。</translation>
    </message>
</context>
<context>
    <name>NoiseEstimate</name>
    <message>
        <source>The noise range %1 to %2 Å must lie within the transform, %3 to %4 Å.</source>
        <translation>ノイズを見積もる範囲 %1 〜 %2 Å は、変換の範囲 %3 〜 %4 Å の中になければなりません。</translation>
    </message>
    <message>
        <source>The transform needs as many real and imaginary parts as R values, and at least one.</source>
        <translation>変換には R の値と同じ数の実部と虚部が、少なくとも 1 つずつ必要です。</translation>
    </message>
    <message>
        <source>The transform has no value between %1 and %2 Å.</source>
        <translation>変換には %1 〜 %2 Å の値がありません。</translation>
    </message>
    <message>
        <source>k, chi and the weights must be equally many, at least two.</source>
        <translation>k、χ、重みは同じ数だけ、2 つ以上必要です。</translation>
    </message>
    <message>
        <source>The noise needs a uniform k grid; the step at k = %1 Å⁻¹ differs.</source>
        <translation>ノイズの見積もりには等間隔の k が必要ですが、k = %1 Å⁻¹ での間隔が異なります。</translation>
    </message>
    <message>
        <source>The weights are all zero: nothing is transformed.</source>
        <translation>重みがすべてゼロで、変換するものがありません。</translation>
    </message>
</context>
<context>
    <name>Background</name>
    <message>
        <source>Rbkg = %1 Å lies outside %2 to %3 Å.</source>
        <translation>Rbkg = %1 Å が %2 〜 %3 Å の範囲外です。</translation>
    </message>
    <message>
        <source>The k weight %1 lies outside 0 to %2.</source>
        <translation>k の重み %1 が 0 〜 %2 の範囲外です。</translation>
    </message>
    <message>
        <source>The k range [%1, %2] Å⁻¹ lies outside the data, which reach from 0 to %3 Å⁻¹ above E0.</source>
        <translation>k の範囲 [%1, %2] Å⁻¹ がデータの外にあります。データは E0 より上で 0 〜 %3 Å⁻¹ です。</translation>
    </message>
    <message>
        <source>The k range [%1, %2] Å⁻¹ reaches beyond %3 Å⁻¹, far past any EXAFS.</source>
        <translation>k の範囲 [%1, %2] Å⁻¹ が %3 Å⁻¹ を超えています。EXAFS の範囲をはるかに過ぎています。</translation>
    </message>
    <message>
        <source>The k range [%1, %2] Å⁻¹ is narrower than %3 Å⁻¹.</source>
        <translation>k の範囲 [%1, %2] Å⁻¹ が %3 Å⁻¹ より狭すぎます。</translation>
    </message>
    <message>
        <source>The data hold too few points above E0 for a background.</source>
        <translation>E0 より上のデータ点が少なすぎて、バックグラウンドを引けません。</translation>
    </message>
    <message>
        <source>The data hold too few points for a background of %1 knots.</source>
        <translation>データ点が少なすぎて、節点 %1 個のバックグラウンドを引けません。</translation>
    </message>
    <message>
        <source>The background could not be refined: the data gave a value that is not finite.</source>
        <translation>バックグラウンドを最適化できません。データから有限でない値が出ました。</translation>
    </message>
</context>
<context>
    <name>MuReader</name>
    <message>
        <source>column %1</source>
        <translation>%1 列目</translation>
    </message>
    <message>
        <source>Line %1: %2</source>
        <translation>%1 行目: %2</translation>
    </message>
    <message>
        <source>an XDI column line must read &quot;# Column.N: name&quot; with N from 1 on.</source>
        <translation>XDI の列の行は「# Column.N: 名前」(N は 1 以上) の形でなければなりません。</translation>
    </message>
    <message>
        <source>The XDI file names no column of mu (mutrans, mufluor or mu), nor i0 with itrans or ifluor.</source>
        <translation>XDI ファイルに μ の列 (mutrans, mufluor, mu) も、i0 と itrans または ifluor の組もありません。</translation>
    </message>
    <message>
        <source>Column numbers start at 1.</source>
        <translation>列番号は 1 から数えます。</translation>
    </message>
    <message>
        <source>this is a binary file, not columns of numbers.</source>
        <translation>数値の列ではなくバイナリファイルです。</translation>
    </message>
    <message>
        <source>column %1 does not exist: this row has %2.</source>
        <translation>%1 列目がありません。この行は %2 列です。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number.</source>
        <translation>「%1」は数値ではありません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is too large: values must lie within %2.</source>
        <translation>「%1」は大きすぎます。値は %2 の範囲になければなりません。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a finite number.</source>
        <translation>「%1」は有限の数値ではありません。</translation>
    </message>
    <message>
        <source>the denominator (column %1) is zero.</source>
        <translation>分母 (%1 列目) がゼロです。</translation>
    </message>
    <message>
        <source>the logarithm needs a positive ratio, but %1 / %2 is not.</source>
        <translation>対数には正の比が必要ですが、%1 / %2 は正ではありません。</translation>
    </message>
    <message>
        <source>the logarithm needs a positive value, but %1 is not.</source>
        <translation>対数には正の値が必要ですが、%1 は正ではありません。</translation>
    </message>
    <message>
        <source>mu = %1 / %2 is too large.</source>
        <translation>μ = %1 / %2 は大きすぎます。</translation>
    </message>
    <message>
        <source>energies must increase from row to row; %1 eV follows %2 eV.</source>
        <translation>エネルギーは行ごとに増えなければなりませんが、%2 eV の次が %1 eV です。</translation>
    </message>
    <message>
        <source>The file holds no rows of numbers.</source>
        <translation>ファイルに数値の行がありません。</translation>
    </message>
    <message>
        <source>The file holds %1 rows of numbers; mu(E) needs at least %2.</source>
        <translation>ファイルに数値の行が %1 行しかありません。μ(E) には %2 行以上必要です。</translation>
    </message>
    <message>
        <source>ln(column %1 / column %2)</source>
        <translation>ln(%1 列目 / %2 列目)</translation>
    </message>
    <message>
        <source>column %1 / column %2</source>
        <translation>%1 列目 / %2 列目</translation>
    </message>
    <message>
        <source>ln(column %1)</source>
        <translation>ln(%1 列目)</translation>
    </message>
    <message>
        <source>mu(E) data</source>
        <translation>μ(E) のデータ</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
</context>
<context>
    <name>Normalization</name>
    <message>
        <source>mu(E) needs at least %1 points.</source>
        <translation>μ(E) には %1 点以上必要です。</translation>
    </message>
    <message>
        <source>The energies must increase and every value must be finite.</source>
        <translation>エネルギーは増えていかなければならず、値はすべて有限でなければなりません。</translation>
    </message>
    <message>
        <source>E0 = %1 eV lies outside the data, which span %2 to %3 eV.</source>
        <translation>E0 = %1 eV がデータの外にあります。データは %2 〜 %3 eV です。</translation>
    </message>
    <message>
        <source>The %1 range [%2, %3] eV must begin below its end.</source>
        <translation>%1の範囲 [%2, %3] eV は、始まりが終わりより小さくなければなりません。</translation>
    </message>
    <message>
        <source>The %1 range [%2, %3] eV lies outside the data, which span %4 to %5 eV.</source>
        <translation>%1の範囲 [%2, %3] eV がデータの外にあります。データは %4 〜 %5 eV です。</translation>
    </message>
    <message>
        <source>The %1 range needs at least %2 points; it holds %3.</source>
        <translation>%1の範囲には %2 点以上必要ですが、%3 点しかありません。</translation>
    </message>
    <message>
        <source>pre-edge</source>
        <translation>吸収端前</translation>
    </message>
    <message>
        <source>normalization</source>
        <translation>規格化</translation>
    </message>
    <message>
        <source>The pre-edge line cannot be fitted.</source>
        <translation>吸収端前の直線を当てはめられません。</translation>
    </message>
    <message>
        <source>The post-edge curve cannot be fitted.</source>
        <translation>吸収端後の曲線を当てはめられません。</translation>
    </message>
    <message>
        <source>No edge: at E0 = %1 eV the post-edge curve does not lie above the pre-edge line (step %2).</source>
        <translation>吸収端がありません。E0 = %1 eV で吸収端後の曲線が吸収端前の直線より上にありません (段差 %2)。</translation>
    </message>
</context>
<context>
    <name>FitRun</name>
    <message>
        <source>The report could not be written: %1</source>
        <translation>報告を書き出せませんでした: %1</translation>
    </message>
    <message>
        <source>the output failed</source>
        <translation>出力に失敗しました</translation>
    </message>
</context>
<context>
    <name>AbsorptionWindow</name>
    <message>
        <source>mu(E)</source>
        <translation>μ(E)</translation>
    </message>
    <message>
        <source>mu(E) against the energy in eV: drag the red E0 mark to move the edge</source>
        <translation>エネルギー（eV）に対する μ(E)。赤い E0 の印をドラッグすると吸収端が動きます</translation>
    </message>
    <message>
        <source>&amp;E0</source>
        <translation>E0(&amp;E)</translation>
    </message>
    <message>
        <source>The edge energy E0 in eV; empty: the energy of the largest derivative of mu(E). Drag the red mark on the plot to move it.</source>
        <translation>吸収端のエネルギー E0（eV）。空欄なら μ(E) の微分が最大になるエネルギー。グラフの赤い印をドラッグしても動かせます。</translation>
    </message>
    <message>
        <source>&amp;Rbkg</source>
        <translation>Rbkg(&amp;R)</translation>
    </message>
    <message>
        <source>Rbkg in Å (0.3 to 3): the background may hold no structure beyond this R</source>
        <translation>Rbkg（Å、0.3〜3）。バックグラウンドはこの R より先に構造を持てません</translation>
    </message>
    <message>
        <source>k-&amp;weight</source>
        <translation>k の重み(&amp;W)</translation>
    </message>
    <message>
        <source>The power w of k (k in Å⁻¹) weighting chi(k) while the background is refined, 0 to 3</source>
        <translation>バックグラウンドを求めるときに χ(k) に掛ける k（Å⁻¹）のべき w、0〜3</translation>
    </message>
    <message>
        <source>Show (mu - pre-edge) / edge step, without unit</source>
        <translation>(μ − 吸収端前の直線) / 吸収端の跳び を表示します（単位なし）</translation>
    </message>
    <message>
        <source>&amp;Normalised</source>
        <translation>規格化(&amp;N)</translation>
    </message>
    <message>
        <source>Show the derivative d mu / dE, in 1/eV</source>
        <translation>微分 dμ/dE を表示します（1/eV）</translation>
    </message>
    <message>
        <source>&amp;Derivative</source>
        <translation>微分(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Pre-edge</source>
        <translation>吸収端前(&amp;P)</translation>
    </message>
    <message>
        <source>Start of the pre-edge line&apos;s range, in eV relative to E0</source>
        <translation>吸収端前の直線の範囲の始め（E0 からの eV）</translation>
    </message>
    <message>
        <source>End of the pre-edge line&apos;s range, in eV relative to E0</source>
        <translation>吸収端前の直線の範囲の終わり（E0 からの eV）</translation>
    </message>
    <message>
        <source>N&amp;ormalisation</source>
        <translation>規格化の範囲(&amp;O)</translation>
    </message>
    <message>
        <source>Start of the post-edge curve&apos;s range, in eV relative to E0</source>
        <translation>吸収端後の曲線の範囲の始め（E0 からの eV）</translation>
    </message>
    <message>
        <source>End of the post-edge curve&apos;s range, in eV relative to E0; empty: the last energy</source>
        <translation>吸収端後の曲線の範囲の終わり（E0 からの eV）。空欄なら最後のエネルギー</translation>
    </message>
    <message>
        <source>&amp;k range</source>
        <translation>k の範囲(&amp;K)</translation>
    </message>
    <message>
        <source>kmin, the background spline&apos;s first knot, in Å⁻¹</source>
        <translation>kmin、バックグラウンドのスプラインの最初の節点（Å⁻¹）</translation>
    </message>
    <message>
        <source>kmax, the background spline&apos;s last knot, in Å⁻¹; empty: the data&apos;s end</source>
        <translation>kmax、バックグラウンドのスプラインの最後の節点（Å⁻¹）。空欄ならデータの終わり</translation>
    </message>
    <message>
        <source>Where mu(E) came from, E0 in eV, the edge step in mu&apos;s units and the spline&apos;s knots</source>
        <translation>μ(E) の出どころ、E0（eV）、μ の単位での吸収端の跳び、スプラインの節点</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>表示(&amp;V)</translation>
    </message>
    <message>
        <source>La&amp;nguage</source>
        <translation>言語(&amp;N)</translation>
    </message>
    <message>
        <source>Open measured mu(&amp;E)…</source>
        <translation>測定した μ(E) を開く(&amp;E)…</translation>
    </message>
    <message>
        <source>Export &amp;picture…</source>
        <translation>図を書き出す(&amp;P)…</translation>
    </message>
    <message>
        <source>Export &amp;data…</source>
        <translation>データを書き出す(&amp;D)…</translation>
    </message>
    <message>
        <source>&amp;Copy picture</source>
        <translation>図をコピー(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>%1 needs a number.</source>
        <translation>%1 には数値が必要です。</translation>
    </message>
    <message>
        <source>%1 must be a number; &quot;%2&quot; is not one.</source>
        <translation>%1 は数値でなければなりません。「%2」は数値ではありません。</translation>
    </message>
    <message>
        <source>No mu(E) loaded: File &gt; Open measured mu(E)…</source>
        <translation>μ(E) が読み込まれていません：ファイル &gt; 測定した μ(E) を開く…</translation>
    </message>
    <message>
        <source>%1 (%2): E0 %3 eV, edge step %4, %5 knots</source>
        <translation>%1（%2）：E0 %3 eV、吸収端の跳び %4、節点 %5 個</translation>
    </message>
    <message>
        <source>E0</source>
        <translation>E0</translation>
    </message>
    <message>
        <source>Rbkg</source>
        <translation>Rbkg</translation>
    </message>
    <message>
        <source>The pre-edge range&apos;s start</source>
        <translation>吸収端前の範囲の始め</translation>
    </message>
    <message>
        <source>The pre-edge range&apos;s end</source>
        <translation>吸収端前の範囲の終わり</translation>
    </message>
    <message>
        <source>The normalisation range&apos;s start</source>
        <translation>規格化の範囲の始め</translation>
    </message>
    <message>
        <source>The normalisation range&apos;s end</source>
        <translation>規格化の範囲の終わり</translation>
    </message>
    <message>
        <source>kmin</source>
        <translation>kmin</translation>
    </message>
    <message>
        <source>kmax</source>
        <translation>kmax</translation>
    </message>
    <message>
        <source>d(normalised μ)/dE (eV⁻¹)</source>
        <translation>d(規格化 μ)/dE (eV⁻¹)</translation>
    </message>
    <message>
        <source>dμ/dE (eV⁻¹)</source>
        <translation>dμ/dE (eV⁻¹)</translation>
    </message>
    <message>
        <source>normalised μ(E)</source>
        <translation>規格化 μ(E)</translation>
    </message>
    <message>
        <source>μ(E)</source>
        <translation>μ(E)</translation>
    </message>
    <message>
        <source>pre-edge line</source>
        <translation>吸収端前の直線</translation>
    </message>
    <message>
        <source>post-edge curve</source>
        <translation>吸収端後の曲線</translation>
    </message>
    <message>
        <source>background</source>
        <translation>バックグラウンド</translation>
    </message>
    <message>
        <source>E0 = %1 eV</source>
        <translation>E0 = %1 eV</translation>
    </message>
    <message>
        <source>E (eV)</source>
        <translation>E (eV)</translation>
    </message>
</context>
<context>
    <name>MuColumnsDialog</name>
    <message>
        <source>Columns of %1</source>
        <translation>%1 の列</translation>
    </message>
    <message>
        <source>The first rows of numbers in the file, columns numbered from 1</source>
        <translation>ファイルの最初の数値の行。列は 1 から数えます</translation>
    </message>
    <message>
        <source>&amp;Layout the file declares (plain columns or XDI)</source>
        <translation>ファイルが示す配置(&amp;L)（単純な列または XDI）</translation>
    </message>
    <message>
        <source>Energy in eV first and mu second, or the columns an XDI header names</source>
        <translation>1 列目がエネルギー（eV）、2 列目が μ。または XDI の見出しが名付けた列</translation>
    </message>
    <message>
        <source>The column of the energies, in eV</source>
        <translation>エネルギー（eV）の列</translation>
    </message>
    <message>
        <source>The column of the numerator (mu, or I0 in transmission), in the file&apos;s units</source>
        <translation>分子の列（μ、透過法なら I0）。単位はファイルのもの</translation>
    </message>
    <message>
        <source>The column of the denominator (I in transmission); 0: none</source>
        <translation>分母の列（透過法なら I）。0 ならなし</translation>
    </message>
    <message>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <source>Natural &amp;logarithm of the ratio</source>
        <translation>比の自然対数(&amp;L)</translation>
    </message>
    <message>
        <source>mu = ln(numerator / denominator), as in transmission; without a unit</source>
        <translation>μ = ln(分子 / 分母)、透過法のとおり。単位なし</translation>
    </message>
    <message>
        <source>&amp;Energy:</source>
        <translation>エネルギー(&amp;E):</translation>
    </message>
    <message>
        <source>&amp;Numerator:</source>
        <translation>分子(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;Denominator:</source>
        <translation>分母(&amp;D):</translation>
    </message>
    <message>
        <source>mu(E) as these columns give it, against the energy in eV</source>
        <translation>これらの列から得られる μ(E)。横軸はエネルギー（eV）</translation>
    </message>
    <message>
        <source>%1 points, mu from %2</source>
        <translation>%1 点、μ は %2 から</translation>
    </message>
</context>
<context>
    <name>RatioWindow</name>
    <message>
        <source>Ratio method</source>
        <translation>比率法</translation>
    </message>
    <message>
        <source>&amp;Compare the data with:</source>
        <translation>データと比べるもの(&amp;C):</translation>
    </message>
    <message>
        <source>The second spectrum: the model, or the data held with a held curve; both filtered through the R window (Å) of the χ(R) window</source>
        <translation>二つ目のスペクトル: モデル、または保持した曲線と一緒に保持したデータ。どちらも χ(R) ウィンドウの R 窓 (Å) でフィルターする</translation>
    </message>
    <message>
        <source>&amp;k range (Å⁻¹):</source>
        <translation>k の範囲 (Å⁻¹)(&amp;K):</translation>
    </message>
    <message>
        <source>Where the straight lines start, in Å⁻¹</source>
        <translation>直線を当てはめ始める k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Where the straight lines end, in Å⁻¹</source>
        <translation>直線を当てはめ終える k (Å⁻¹)</translation>
    </message>
    <message>
        <source>ln(A₁/A₂) against k² (Å⁻²): slope −2Δσ² (Å²), intercept ln(N₁/N₂)</source>
        <translation>k² (Å⁻²) に対する ln(A₁/A₂): 傾きは −2Δσ² (Å²)、切片は ln(N₁/N₂)</translation>
    </message>
    <message>
        <source>Φ₁ − Φ₂ (rad) against k (Å⁻¹): slope 2ΔR (Å)</source>
        <translation>k (Å⁻¹) に対する Φ₁ − Φ₂ (rad): 傾きは 2ΔR (Å)</translation>
    </message>
    <message>
        <source>the model</source>
        <translation>モデル</translation>
    </message>
    <message>
        <source>The model compares only in physical amplitude (View &gt; Physical amplitude).</source>
        <translation>モデルと比べるのは物理的な振幅のときだけです (表示 &gt; 物理的な振幅)。</translation>
    </message>
    <message>
        <source>Held data compare only when held in physical amplitude.</source>
        <translation>保持したデータと比べられるのは、物理的な振幅で保持したときだけです。</translation>
    </message>
    <message>
        <source>The held curve is gone.</source>
        <translation>保持した曲線はもうありません。</translation>
    </message>
    <message>
        <source>Open measured data first (File &gt; Open measured chi(k)…).</source>
        <translation>先に測定データを開いてください (ファイル &gt; 測定した χ(k) を開く…)。</translation>
    </message>
    <message>
        <source>Δσ² = %1 ± %2 Å²    ln(N₁/N₂) = %3 ± %4    ΔR = %5 ± %6 Å
%7 points over %8 to %9 Å⁻¹, %10 independent: errors × %11</source>
        <translation>Δσ² = %1 ± %2 Å²    ln(N₁/N₂) = %3 ± %4    ΔR = %5 ± %6 Å
%8 〜 %9 Å⁻¹ の %7 点、独立な点は %10: 誤差 × %11</translation>
    </message>
    <message>
        <source>No ratio: %1</source>
        <translation>比率を求めません: %1</translation>
    </message>
    <message>
        <source>k² (Å⁻²)</source>
        <translation>k² (Å⁻²)</translation>
    </message>
    <message>
        <source>ln(A₁/A₂)</source>
        <translation>ln(A₁/A₂)</translation>
    </message>
    <message>
        <source>k (Å⁻¹)</source>
        <translation>k (Å⁻¹)</translation>
    </message>
    <message>
        <source>Φ₁ − Φ₂ (rad)</source>
        <translation>Φ₁ − Φ₂ (rad)</translation>
    </message>
    <message>
        <source>data set %1: %2</source>
        <translation>データセット %1: %2</translation>
    </message>
    <message>
        <source>The data set is gone.</source>
        <translation>そのデータセットはもうありません。</translation>
    </message>
</context>
<context>
    <name>StandardDialog</name>
    <message>
        <source>Measured standard</source>
        <translation>実測標準</translation>
    </message>
    <message>
        <source>The loaded data (none loaded)</source>
        <translation>読み込んだデータ (読み込まれていません)</translation>
    </message>
    <message>
        <source>The loaded data, %1</source>
        <translation>読み込んだデータ、%1</translation>
    </message>
    <message>
        <source>A chi(k) file</source>
        <translation>χ(k) ファイル</translation>
    </message>
    <message>
        <source>The reference whose filtered first shell becomes the main shell&apos;s amplitude and phase: its chi(k), k in Å⁻¹</source>
        <translation>フィルターした殻が主殻の振幅と位相になる参照試料: その χ(k)、k の単位は Å⁻¹</translation>
    </message>
    <message>
        <source>R&amp;eference:</source>
        <translation>参照試料(&amp;E):</translation>
    </message>
    <message>
        <source>The reference&apos;s chi(k) file: two columns, k (Å⁻¹) and chi(k)</source>
        <translation>参照試料の χ(k) ファイル: k (Å⁻¹) と χ(k) の 2 列</translation>
    </message>
    <message>
        <source>&amp;Browse…</source>
        <translation>参照(&amp;B)…</translation>
    </message>
    <message>
        <source>Choose the reference&apos;s chi(k) file (k in Å⁻¹)</source>
        <translation>参照試料の χ(k) ファイルを選ぶ (k の単位は Å⁻¹)</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>ファイル(&amp;F):</translation>
    </message>
    <message>
        <source>The reference&apos;s known number of neighbours N in the shell (no unit)</source>
        <translation>参照試料の殻の既知の配位数 N (単位なし)</translation>
    </message>
    <message>
        <source> Å</source>
        <translation> Å</translation>
    </message>
    <message>
        <source>The reference&apos;s known distance R of the shell, Å</source>
        <translation>参照試料の殻の既知の距離 R、Å</translation>
    </message>
    <message>
        <source>The reference&apos;s known Debye-Waller sigma of the shell, Å (sigma² in Å² is its square)</source>
        <translation>参照試料の殻の既知の Debye-Waller σ、Å (σ² [Å²] はその二乗)</translation>
    </message>
    <message>
        <source>&amp;N:</source>
        <translation>N(&amp;N):</translation>
    </message>
    <message>
        <source>&amp;R:</source>
        <translation>R(&amp;R):</translation>
    </message>
    <message>
        <source>&amp;Sigma:</source>
        <translation>σ(&amp;S):</translation>
    </message>
    <message>
        <source>Open the reference&apos;s chi(k)</source>
        <translation>参照試料の χ(k) を開く</translation>
    </message>
    <message>
        <source>chi(k) files (*.chi *.dat *.txt);;All files (*)</source>
        <translation>χ(k) ファイル (*.chi *.dat *.txt);;すべてのファイル (*)</translation>
    </message>
</context>
<context>
    <name>MeasuredStandard</name>
    <message>
        <source>The standard&apos;s N must be a positive number; it is %1.</source>
        <translation>標準の N は正の数でなければなりません (値は %1)。</translation>
    </message>
    <message>
        <source>The standard&apos;s R must be a positive number of Å; it is %1.</source>
        <translation>標準の R は正の数 (Å) でなければなりません (値は %1)。</translation>
    </message>
    <message>
        <source>The standard&apos;s sigma must be 0 Å or more; it is %1.</source>
        <translation>標準の σ は 0 Å 以上でなければなりません (値は %1)。</translation>
    </message>
    <message>
        <source>The filter leaves no signal of the standard: choose an R window around its shell and a k window over its data.</source>
        <translation>フィルターの後に標準の信号が残りません。殻を囲む R 窓と、データに重なる k 窓を選んでください。</translation>
    </message>
    <message>
        <source>There are no data to make the standard from.</source>
        <translation>標準を作るデータがありません。</translation>
    </message>
</context>
<context>
    <name>SeriesCurves</name>
    <message>
        <source>model of %1</source>
        <translation>%1 のモデル</translation>
    </message>
</context>
<context>
    <name>Sigma2View</name>
    <message>
        <source>σ² (Å²) of each data set against its temperature (K), with its error bar, and the Einstein model&apos;s curve</source>
        <translation>各データセットの σ² (Å²) を温度 (K) に対して誤差棒とともに示し、アインシュタインモデルの曲線を重ねます</translation>
    </message>
</context>
<context>
    <name>Sigma2Plot</name>
    <message>
        <source>T (K)</source>
        <translation>温度 T (K)</translation>
    </message>
    <message>
        <source>σ² (Å²)</source>
        <translation>σ² (Å²)</translation>
    </message>
</context>
<context>
    <name>SeriesRun</name>
    <message>
        <source>Data set %1 (%2): %3</source>
        <translation>データセット %1 (%2): %3</translation>
    </message>
    <message>
        <source>σ² of each data set</source>
        <translation>各データセットの σ²</translation>
    </message>
    <message>
        <source>Einstein model: θ_E = %1 ± %2 K</source>
        <translation>アインシュタインモデル: θ_E = %1 ± %2 K</translation>
    </message>
    <message>
        <source>Einstein model: θ_E = %1 K</source>
        <translation>アインシュタインモデル: θ_E = %1 K</translation>
    </message>
    <message>
        <source>σ² against temperature</source>
        <translation>温度に対する σ²</translation>
    </message>
</context>
</TS>
