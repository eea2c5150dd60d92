<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>ChartOutput</name>
    <message>
        <source>打印失败：打印机无法开始打印作业。</source>
        <translation>Printing failed: the printer could not start the job.</translation>
    </message>
    <message>
        <source>打印失败：绘制图表时出错。</source>
        <translation>Printing failed while the chart was drawn.</translation>
    </message>
</context>
<context>
    <name>InversionLimits</name>
    <message>
        <source>Vs 的下限须为正数且小于上限。</source>
        <translation>The Vs bounds must be positive, the lower below the upper.</translation>
    </message>
    <message>
        <source>Vs 的上限须小于 10000 m/s。</source>
        <translation>The upper Vs bound must lie below 10000 m/s.</translation>
    </message>
    <message>
        <source>厚度的下限须为正数且小于上限。</source>
        <translation>The thickness bounds must be positive, the lower below the upper.</translation>
    </message>
    <message>
        <source>迭代次数须在 1 到 %1 之间。</source>
        <translation>The iteration limit must lie from 1 to %1.</translation>
    </message>
    <message>
        <source>反演设置：Vs %1–%2 m/s，厚度 %3–%4 m，最多 %5 次迭代</source>
        <translation>Inversion settings: Vs %1–%2 m/s, thickness %3–%4 m, at most %5 iterations</translation>
    </message>
</context>
<context>
    <name>InversionReport</name>
    <message>
        <source>反演结果</source>
        <translation>Inversion result</translation>
    </message>
    <message>
        <source>拟合情况：</source>
        <translation>Fit:</translation>
    </message>
    <message>
        <source>迭代次数：%1</source>
        <translation>Iterations: %1</translation>
    </message>
    <message>
        <source>拟 合 差：%1</source>
        <translation>Misfit:     %1</translation>
    </message>
    <message>
        <source>模型参数：</source>
        <translation>Model:</translation>
    </message>
</context>
<context>
    <name>LayerCountChooser</name>
    <message>
        <source>建议初始模型</source>
        <translation>Suggest starting model</translation>
    </message>
    <message>
        <source>层数（含半空间）：</source>
        <translation>Layers, the half-space included:</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>动态连接库加载失败!</source>
        <translation>The engine library could not be loaded!</translation>
    </message>
    <message>
        <source>在动态连接库中没有正演函数，计算失败!</source>
        <translation>The engine library has no forward function; the calculation failed!</translation>
    </message>
    <message>
        <source>正演函数计算失败!</source>
        <translation>The forward calculation failed!</translation>
    </message>
    <message>
        <source>Sondrix提示...</source>
        <translation>Sondrix notice...</translation>
    </message>
    <message>
        <source>奇异值分解错误.</source>
        <translation>The singular value decomposition failed.</translation>
    </message>
    <message>
        <source>灵敏度矩阵秩为零,可能是模型不正确.</source>
        <translation>The sensitivity matrix has rank zero; the model may be wrong.</translation>
    </message>
    <message>
        <source>迭代次数超限.</source>
        <translation>The iteration limit was reached.</translation>
    </message>
    <message>
        <source>正演计算失败，反演已中止.</source>
        <translation>A forward calculation failed; the inversion was stopped.</translation>
    </message>
    <message>
        <source>数据或模型参数过多，无法反演.</source>
        <translation>Too many data or model parameters to invert.</translation>
    </message>
    <message>
        <source>没有频散数据，无法反演.</source>
        <translation>No dispersion data to invert.</translation>
    </message>
    <message>
        <source>反演结果含有非有限数值（拟合差或模型参数），结果未采用.</source>
        <translation>The inversion result holds a value that is not a finite number (misfit or model parameter); it was not taken.</translation>
    </message>
    <message>
        <source>反演已取消。</source>
        <translation>Inversion cancelled.</translation>
    </message>
</context>
<context>
    <name>ModelTable</name>
    <message>
        <source>不是数字，小数点请用英文句点“.”。</source>
        <translation>is not a number; the decimal separator is a full stop.</translation>
    </message>
    <message>
        <source>厚度必须大于 0。</source>
        <translation>the thickness must be greater than 0.</translation>
    </message>
    <message>
        <source>速度必须大于 0。</source>
        <translation>the velocity must be greater than 0.</translation>
    </message>
    <message>
        <source>速度必须小于 10000 m/s。</source>
        <translation>the velocity must be below 10000 m/s.</translation>
    </message>
    <message>
        <source>密度必须大于 0。</source>
        <translation>the density must be greater than 0.</translation>
    </message>
    <message>
        <source>%1 列「%2」%3</source>
        <translation>Column %1, &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>第 %1 行输入的模型参数错误，请检查！</source>
        <translation>The model parameters in row %1 are wrong; please check them!</translation>
    </message>
</context>
<context>
    <name>dispfit::GlobalSearchDialog</name>
    <message>
        <source>全局搜索</source>
        <translation>Global search</translation>
    </message>
    <message>
        <source>Vp = 3 Vs</source>
        <translation>Vp = 3 Vs</translation>
    </message>
    <message>
        <source>固定 Vp</source>
        <translation>Fixed Vp</translation>
    </message>
    <message>
        <source>泊松比范围</source>
        <translation>Poisson&apos;s ratio range</translation>
    </message>
    <message>
        <source>地下水位</source>
        <translation>Water table</translation>
    </message>
    <message>
        <source>Vs 不随深度减小</source>
        <translation>Vs does not decrease with depth</translation>
    </message>
    <message>
        <source>统一范围填入各层</source>
        <translation>Fill every layer</translation>
    </message>
    <message>
        <source>从文件读取…</source>
        <translation>Read from a file…</translation>
    </message>
    <message>
        <source>各层保留文件中自己的 Vp 或泊松比范围。</source>
        <translation>Each layer keeps its own Vp or Poisson&apos;s ratio range from the file.</translation>
    </message>
    <message>
        <source>层数，含半空间</source>
        <translation>Layers, the half-space included</translation>
    </message>
    <message>
        <source>Vs 范围</source>
        <translation>Vs range</translation>
    </message>
    <message>
        <source>厚度范围</source>
        <translation>Thickness range</translation>
    </message>
    <message>
        <source>密度</source>
        <translation>Density</translation>
    </message>
    <message>
        <source>各层范围</source>
        <translation>Each layer&apos;s ranges</translation>
    </message>
    <message>
        <source>纵波速度</source>
        <translation>P velocity</translation>
    </message>
    <message>
        <source>泊松比</source>
        <translation>Poisson&apos;s ratio</translation>
    </message>
    <message>
        <source>模型数</source>
        <translation>Model budget</translation>
    </message>
    <message>
        <source>随机种子</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>接受：归一化拟合差不大于</source>
        <translation>Accepted: normalised misfit at most</translation>
    </message>
    <message>
        <source>接受：拟合差 (m/s) 不大于最佳的倍数</source>
        <translation>Accepted: misfit (m/s) within this factor of the best</translation>
    </message>
    <message>
        <source>%1 半空间</source>
        <translation>%1 half-space</translation>
    </message>
    <message>
        <source>半空间的厚度不参与计算。</source>
        <translation>The half-space&apos;s thickness is not used.</translation>
    </message>
    <message>
        <source>第 %1 层 %2：「%3」不是数字，小数点请用英文句点“.”。</source>
        <translation>Layer %1, %2: &quot;%3&quot; is not a number; the decimal separator is a full stop.</translation>
    </message>
    <message>
        <source>读取搜索范围</source>
        <translation>Read search ranges</translation>
    </message>
    <message>
        <source>范围文件 (*.csv *.txt);;所有文件 (*)</source>
        <translation>Ranges files (*.csv *.txt);;All files (*)</translation>
    </message>
    <message>
        <source>Vs 下限 (m/s)</source>
        <translation>Vs min (m/s)</translation>
    </message>
    <message>
        <source>Vs 上限 (m/s)</source>
        <translation>Vs max (m/s)</translation>
    </message>
    <message>
        <source>h 下限 (m)</source>
        <translation>h min (m)</translation>
    </message>
    <message>
        <source>h 上限 (m)</source>
        <translation>h max (m)</translation>
    </message>
    <message>
        <source>密度 (g/cm³)</source>
        <translation>Density (g/cm³)</translation>
    </message>
</context>
<context>
    <name>dispfit::InversionSettingsDialog</name>
    <message>
        <source>反演设置</source>
        <translation>Inversion settings</translation>
    </message>
    <message>
        <source>Vs 下限</source>
        <translation>Lowest Vs</translation>
    </message>
    <message>
        <source>Vs 上限</source>
        <translation>Highest Vs</translation>
    </message>
    <message>
        <source>厚度下限</source>
        <translation>Thinnest layer</translation>
    </message>
    <message>
        <source>厚度上限</source>
        <translation>Thickest layer</translation>
    </message>
    <message>
        <source>最多迭代次数</source>
        <translation>Iteration limit</translation>
    </message>
</context>
<context>
    <name>dispfit::ShotRecordsWindow</name>
    <message>
        <source>地震记录</source>
        <translation>Shot records</translation>
    </message>
    <message>
        <source>打开记录...</source>
        <translation>Open records...</translation>
    </message>
    <message>
        <source>自动拾取</source>
        <translation>Pick automatically</translation>
    </message>
    <message>
        <source>用作实测曲线</source>
        <translation>Use as measured curve</translation>
    </message>
    <message>
        <source>波形</source>
        <translation>Wiggles</translation>
    </message>
    <message>
        <source>变密度</source>
        <translation>Variable density</translation>
    </message>
    <message>
        <source>炮集记录</source>
        <translation>Shot gather</translation>
    </message>
    <message>
        <source>频散图像（每个频率归一化）</source>
        <translation>Dispersion image (normalised at each frequency)</translation>
    </message>
    <message>
        <source>综合曲线：均值 ± σ（各偏移距之间的离散）</source>
        <translation>Combined curve: mean ± σ (the scatter between source offsets)</translation>
    </message>
    <message>
        <source>单击添加拾取点，拖动移动，右键或 Delete 删除；按住 Shift 拖出范围重新拾取。红点在阵列限制之外，不计入综合曲线。</source>
        <translation>Click to add a pick, drag to move it, right-click or Delete to remove it; drag with Shift held to pick a band anew. Red picks lie outside the array&apos;s limits and stay out of the combined curve.</translation>
    </message>
    <message>
        <source>打开地震记录</source>
        <translation>Open shot records</translation>
    </message>
    <message>
        <source>地震记录 (*.sg2 *.seg2 *.dat *.sgy *.segy *.su);;所有文件 (*)</source>
        <translation>Shot records (*.sg2 *.seg2 *.dat *.sgy *.segy *.su);;All files (*)</translation>
    </message>
    <message>
        <source>偏移距 %1 m：%2 个拾取点（%3 个在限制内），%4 个记录</source>
        <translation>Offset %1 m: %2 picks (%3 inside the limits), %4 records</translation>
    </message>
</context>
<context>
    <name>dispfit::SiteResultsPanel</name>
    <message>
        <source>%1 m/s</source>
        <translation>%1 m/s</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>（外推）</source>
        <translation> (extrapolated)</translation>
    </message>
    <message>
        <source>模型无可用的层，无 Vs30。</source>
        <translation>The model has no usable layer: no Vs30.</translation>
    </message>
    <message>
        <source>Eurocode 8 地基类型 %1，NEHRP 场地类别 %2</source>
        <translation>Eurocode 8 ground type %1, NEHRP site class %2</translation>
    </message>
    <message>
        <source>外推：Z 深于数据约束深度 %1 m</source>
        <translation>Extrapolated: Z below the depth the data constrain, %1 m</translation>
    </message>
    <message>
        <source>数据约束深度 %1 m</source>
        <translation>Depth the data constrain: %1 m</translation>
    </message>
    <message>
        <source>Vs%1 中值 %2 m/s，10%–90% %3–%4</source>
        <translation>Vs%1 median %2 m/s, 10%–90% %3–%4</translation>
    </message>
    <message>
        <source>Vs30 类别（10%/中值/90%）：EC8 %1，NEHRP %2</source>
        <translation>Vs30 classes (10%/median/90%): EC8 %1, NEHRP %2</translation>
    </message>
    <message>
        <source>地基类型 E、S1、S2 与 NEHRP F 类不能仅凭 Vs30 判定。</source>
        <translation>Ground types E, S1, S2 and NEHRP class F cannot be told from Vs30 alone.</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>没有模型被接受：可放宽接受条件或增加模型数。</source>
        <translation>No model accepted: loosen the acceptance or raise the budget.</translation>
    </message>
</context>
<context>
    <name>dispfit::TAbout</name>
    <message>
        <source>DispFit 面波频散曲线正演与反演</source>
        <translation>DispFit surface-wave dispersion modelling and inversion</translation>
    </message>
    <message>
        <source>DispFit 开发组</source>
        <translation>The DispFit developers</translation>
    </message>
    <message>
        <source>版本: 2004.04</source>
        <translation>Version: 2004.04</translation>
    </message>
    <message>
        <source>最后日期:  2004-04-25</source>
        <translation>Last date:  2004-04-25</translation>
    </message>
    <message>
        <source>开放源代码项目</source>
        <translation>An open-source project</translation>
    </message>
    <message>
        <source>（无邮政地址）</source>
        <translation>(no postal address)</translation>
    </message>
    <message>
        <source>本软件由</source>
        <translation>This software is by</translation>
    </message>
    <message>
        <source>DispFit 开发组编写并维护</source>
        <translation>written and maintained by the DispFit developers</translation>
    </message>
    <message>
        <source>电话：无</source>
        <translation>Telephone: none</translation>
    </message>
    <message>
        <source>电子邮件：无（请通过项目的问题跟踪提交）</source>
        <translation>E-mail: none (please use the project&apos;s issue tracker)</translation>
    </message>
    <message>
        <source>网址：</source>
        <translation>Web:</translation>
    </message>
    <message>
        <source>DispFit 开发组（示例网址）</source>
        <translation>The DispFit developers (an example address)</translation>
    </message>
    <message>
        <source>本程序按原样提供，不附带任何明示或暗示的担保。计算结果请结合实际资料判断使用。</source>
        <translation>This program comes as it is, without any warranty, express or implied. Judge its results against what else you know of the site.</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>关于%1...</source>
        <translation>About %1...</translation>
    </message>
</context>
<context>
    <name>dispfit::TForm1</name>
    <message>
        <source>m/s（未加权，√(Σr²/2M)，同报告）</source>
        <translation>m/s (unweighted, √(Σr²/2M), as in the report)</translation>
    </message>
    <message>
        <source>起始模型：拟合差 %1 </source>
        <translation>Starting model: misfit %1 </translation>
    </message>
    <message>
        <source>迭代 %1：拟合差 %2 </source>
        <translation>Iteration %1: misfit %2 </translation>
    </message>
    <message>
        <source>反演已取消。</source>
        <translation>Inversion cancelled.</translation>
    </message>
    <message>
        <source>%1/%2 个点在误差带内。</source>
        <translation>%1 of %2 points inside the band.</translation>
    </message>
    <message>
        <source>曲线无误差带。</source>
        <translation>The curve has no band.</translation>
    </message>
    <message>
        <source>拟合曲线已绘出。</source>
        <translation>Fitted curve drawn. </translation>
    </message>
    <message>
        <source>无法载入英文界面。</source>
        <translation>The English texts could not be loaded.</translation>
    </message>
    <message>
        <source>速度模型</source>
        <translation>Velocity model</translation>
    </message>
    <message>
        <source>层数</source>
        <translation>Layers</translation>
    </message>
    <message>
        <source>密度单位g/cm</source>
        <translation>Density unit g/cm</translation>
    </message>
    <message>
        <source>速度单位m/s，厚度单位m</source>
        <translation>Velocity unit m/s, thickness unit m</translation>
    </message>
    <message>
        <source>复制计算结果</source>
        <translation>Copy results</translation>
    </message>
    <message>
        <source>打印频散曲线</source>
        <translation>Print curve</translation>
    </message>
    <message>
        <source>计算频散曲线</source>
        <translation>Compute curve</translation>
    </message>
    <message>
        <source>反演频散曲线</source>
        <translation>Invert curve</translation>
    </message>
    <message>
        <source>退出计算</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>停止反演 (Esc)</source>
        <translation>Stop the inversion (Esc)</translation>
    </message>
    <message>
        <source>文件(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>打开实测曲线...</source>
        <translation>Open measured curve...</translation>
    </message>
    <message>
        <source>打开模型...</source>
        <translation>Open model...</translation>
    </message>
    <message>
        <source>保存模型...</source>
        <translation>Save model...</translation>
    </message>
    <message>
        <source>导出结果...</source>
        <translation>Export results...</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>视图(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>对数频率轴</source>
        <translation>Logarithmic frequency axis</translation>
    </message>
    <message>
        <source>波长轴</source>
        <translation>Wavelength axis</translation>
    </message>
    <message>
        <source>反演(&amp;I)</source>
        <translation>&amp;Inversion</translation>
    </message>
    <message>
        <source>建议初始模型...</source>
        <translation>Suggest starting model...</translation>
    </message>
    <message>
        <source>反演设置...</source>
        <translation>Inversion settings...</translation>
    </message>
    <message>
        <source>应用拟合模型</source>
        <translation>Apply fitted model</translation>
    </message>
    <message>
        <source>全局搜索...</source>
        <translation>Global search...</translation>
    </message>
    <message>
        <source>应用最佳模型</source>
        <translation>Apply best model</translation>
    </message>
    <message>
        <source>频散曲线</source>
        <translation>Dispersion curve</translation>
    </message>
    <message>
        <source>λ/m</source>
        <translation>Wavelength λ (m)</translation>
    </message>
    <message>
        <source>f/Hz</source>
        <translation>Frequency f (Hz)</translation>
    </message>
    <message>
        <source>VR (m/s)</source>
        <translation>Phase velocity VR (m/s)</translation>
    </message>
    <message>
        <source>半空间</source>
        <translation>Half-space</translation>
    </message>
    <message>
        <source>半空间的厚度不参与计算。</source>
        <translation>The half-space&apos;s thickness is not used.</translation>
    </message>
    <message>
        <source>没有可比较的点。</source>
        <translation>No point to compare.</translation>
    </message>
    <message>
        <source>拟合差（未加权 RMS）%1 m/s</source>
        <translation>Misfit (unweighted RMS) %1 m/s</translation>
    </message>
    <message>
        <source>，%1/%2 个点在误差带内</source>
        <translation>, %1 of %2 points inside the band</translation>
    </message>
    <message>
        <source>，曲线无误差带</source>
        <translation>, the curve has no band</translation>
    </message>
    <message>
        <source>；%1 个频率无解</source>
        <translation>; %1 frequencies without a root</translation>
    </message>
    <message>
        <source>。</source>
        <translation>.</translation>
    </message>
    <message>
        <source>%1 个频率无解，未绘出。</source>
        <translation>%1 frequencies without a root are not drawn.</translation>
    </message>
    <message>
        <source>没有可用的默认打印机，无法打印频散曲线。</source>
        <translation>No default printer is installed; the dispersion curve cannot be printed.</translation>
    </message>
    <message>
        <source>导出结果：文件名前缀或文件夹</source>
        <translation>Export results: base name or folder</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>DispFit 结果报告</source>
        <translation>DispFit results report</translation>
    </message>
    <message>
        <source>结果未导出。</source>
        <translation>The results were not exported.</translation>
    </message>
    <message>
        <source>结果已导出：%1 个文件 %2。</source>
        <translation>Results exported: %1 files named %2.</translation>
    </message>
    <message>
        <source>曲线文件 (*.csv *.txt *.dat);;所有文件 (*)</source>
        <translation>Curve files (*.csv *.txt *.dat);;All files (*)</translation>
    </message>
    <message>
        <source>模型文件 (*.txt *.csv);;所有文件 (*)</source>
        <translation>Model files (*.txt *.csv);;All files (*)</translation>
    </message>
    <message>
        <source>打开实测曲线</source>
        <translation>Open measured curve</translation>
    </message>
    <message>
        <source>打开模型</source>
        <translation>Open model</translation>
    </message>
    <message>
        <source>保存模型</source>
        <translation>Save model</translation>
    </message>
    <message>
        <source>已打开 %1：%2 个实测点</source>
        <translation>Loaded %1: %2 measured points</translation>
    </message>
    <message>
        <source>，反演取其中 %1 个</source>
        <translation>, %1 of them fitted</translation>
    </message>
    <message>
        <source>%1 给出的纵波速度不是 3 × Vs；本程序的计算按 Vp = 3 × Vs 进行。</source>
        <translation>The P velocities in %1 are not 3 × Vs; this window computes with Vp = 3 × Vs.</translation>
    </message>
    <message>
        <source>模型已保存到 %1。</source>
        <translation>Model saved to %1.</translation>
    </message>
    <message>
        <source>归一化拟合差</source>
        <translation>normalised misfit</translation>
    </message>
    <message>
        <source>拟合差 (m/s)</source>
        <translation>misfit (m/s)</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>全局搜索无法开始：%1</source>
        <translation>The global search cannot start: %1</translation>
    </message>
    <message>
        <source>全局搜索</source>
        <translation>Global search</translation>
    </message>
    <message>
        <source>全局搜索进行中……</source>
        <translation>Global search running...</translation>
    </message>
    <message>
        <source>已完成 %1 / %2 个模型
最佳%3：%4
已接受 %5 个模型</source>
        <translation>%1 of %2 models done
Best %3: %4
%5 models accepted</translation>
    </message>
    <message>
        <source>正在取消，保留已找到的模型……</source>
        <translation>Cancelling; the models found so far are kept...</translation>
    </message>
    <message>
        <source>全局搜索失败：%1</source>
        <translation>The global search failed: %1</translation>
    </message>
    <message>
        <source>全局搜索已取消</source>
        <translation>Global search cancelled</translation>
    </message>
    <message>
        <source>：接受 %1/%2，最佳%3 %4</source>
        <translation>: %1 of %2 accepted, best %3 %4</translation>
    </message>
    <message>
        <source>全局搜索已取消：显示已找到的 %1 个模型。</source>
        <translation>Global search cancelled: showing the %1 models found so far.</translation>
    </message>
    <message>
        <source>全局搜索完成。</source>
        <translation>Global search finished.</translation>
    </message>
    <message>
        <source>最佳模型已写入模型表（按 Vp = 3 Vs 计算）。</source>
        <translation>The best model is in the table (computed there with Vp = 3 Vs).</translation>
    </message>
    <message>
        <source>拟合模型</source>
        <translation>Fitted model</translation>
    </message>
    <message>
        <source>当前模型</source>
        <translation>Table model</translation>
    </message>
    <message>
        <source>：拟合差（未加权 RMS）%1 m/s</source>
        <translation>: misfit (unweighted RMS) %1 m/s</translation>
    </message>
    <message>
        <source>已按实测曲线建议 %1 层初始模型，可修改后反演。</source>
        <translation>Suggested a %1-layer starting model from the measured curve; edit it before inverting if you wish.</translation>
    </message>
    <message>
        <source>打开地震记录...</source>
        <translation>Open shot records...</translation>
    </message>
    <message>
        <source>正演：最低根（基阶）</source>
        <translation>Forward rule: lowest root (fundamental mode)</translation>
    </message>
    <message>
        <source>正演：地表可观测基阶（响应 ≥ %1%）</source>
        <translation>Forward rule: surface-observed fundamental (response ≥ %1%)</translation>
    </message>
    <message>
        <source>模态(&amp;M)</source>
        <translation>&amp;Modes</translation>
    </message>
    <message>
        <source>仅基阶</source>
        <translation>Fundamental mode only</translation>
    </message>
    <message>
        <source>第 0–2 阶</source>
        <translation>Modes 0–2</translation>
    </message>
    <message>
        <source>第 0–4 阶</source>
        <translation>Modes 0–4</translation>
    </message>
    <message>
        <source>勒夫波（Love）</source>
        <translation>Love waves</translation>
    </message>
</context>
<context>
    <name>dispfit::VsProfileChart</name>
    <message>
        <source>横波速度剖面</source>
        <translation>Shear-wave velocity profile</translation>
    </message>
    <message>
        <source>Vs (m/s)</source>
        <translation>Vs (m/s)</translation>
    </message>
    <message>
        <source>深度 (m)</source>
        <translation>Depth (m)</translation>
    </message>
    <message>
        <source>初始模型</source>
        <translation>Starting model</translation>
    </message>
    <message>
        <source>拟合模型</source>
        <translation>Fitted model</translation>
    </message>
    <message>
        <source>10%/90%</source>
        <translation>10th/90th percentile</translation>
    </message>
    <message>
        <source>中值</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>最佳模型</source>
        <translation>Best model</translation>
    </message>
    <message>
        <source>接受模型</source>
        <translation>Accepted models</translation>
    </message>
    <message>
        <source>绘出 %1/%2 个接受模型，按拟合差排名等距选取。</source>
        <translation>Drawn: %1 of %2 accepted models, evenly over their misfit ranks.</translation>
    </message>
    <message>
        <source>数据约束深度 %1 m</source>
        <translation>Depth the data constrain: %1 m</translation>
    </message>
</context>
</TS>
