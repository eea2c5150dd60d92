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
    <name>CurveColumnChooser</name>
    <message>
        <source>选择曲线的各列</source>
        <translation>Choose the curve&apos;s columns</translation>
    </message>
    <message>
        <source>%1 的表头不是曲线表认得的名称。请说明哪一列是什么：</source>
        <translation>The header of %1 is not one a curve table knows. Say which column is which:</translation>
    </message>
    <message>
        <source>频率 (Hz)</source>
        <translation>Frequency (Hz)</translation>
    </message>
    <message>
        <source>波长 (m)</source>
        <translation>Wavelength (m)</translation>
    </message>
    <message>
        <source>周期 (s)</source>
        <translation>Period (s)</translation>
    </message>
    <message>
        <source>无</source>
        <translation>none</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Standard deviation</translation>
    </message>
    <message>
        <source>下限与上限</source>
        <translation>Low and high bounds</translation>
    </message>
    <message>
        <source>横坐标：</source>
        <translation>Abscissa:</translation>
    </message>
    <message>
        <source>横坐标所在列：</source>
        <translation>Abscissa column:</translation>
    </message>
    <message>
        <source>相速度 (m/s) 所在列：</source>
        <translation>Phase velocity (m/s) column:</translation>
    </message>
    <message>
        <source>误差：</source>
        <translation>Spread:</translation>
    </message>
    <message>
        <source>标准差或下限所在列：</source>
        <translation>Standard deviation or low bound column:</translation>
    </message>
    <message>
        <source>上限所在列：</source>
        <translation>High bound column:</translation>
    </message>
</context>
<context>
    <name>ExportResultChooser</name>
    <message>
        <source>导出结果</source>
        <translation>Export results</translation>
    </message>
    <message>
        <source>一次导出一个结果，每个文件都写明是哪一个：</source>
        <translation>An export writes one result; every file names it:</translation>
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
    <name>ResultCharts</name>
    <message>
        <source>频率 (Hz)</source>
        <translation>Frequency (Hz)</translation>
    </message>
    <message>
        <source>相速度 (m/s)</source>
        <translation>Phase velocity (m/s)</translation>
    </message>
    <message>
        <source>横波速度 Vs (m/s)</source>
        <translation>Shear-wave velocity Vs (m/s)</translation>
    </message>
    <message>
        <source>深度 (m)</source>
        <translation>Depth (m)</translation>
    </message>
    <message>
        <source>局部反演</source>
        <translation>Local fit</translation>
    </message>
    <message>
        <source>表格模型</source>
        <translation>Table model</translation>
    </message>
    <message>
        <source>全局搜索最佳拟合</source>
        <translation>Best-fit search</translation>
    </message>
    <message>
        <source>实测曲线</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>误差带</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>计算曲线</source>
        <translation>Computed</translation>
    </message>
    <message>
        <source>拟合曲线</source>
        <translation>Fitted</translation>
    </message>
    <message>
        <source>拟合模型</source>
        <translation>Fitted model</translation>
    </message>
    <message>
        <source>接受模型曲线的包络</source>
        <translation>Accepted curves&apos; envelope</translation>
    </message>
    <message>
        <source>最佳模型</source>
        <translation>Best model</translation>
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
        <source>后验分布</source>
        <translation>Posterior</translation>
    </message>
    <message>
        <source>样本曲线 10%/90%</source>
        <translation>Samples&apos; curves 10%/90%</translation>
    </message>
    <message>
        <source>样本曲线中值</source>
        <translation>Samples&apos; median curve</translation>
    </message>
    <message>
        <source>5%/95%</source>
        <translation>5%/95%</translation>
    </message>
    <message>
        <source>最大后验模型</source>
        <translation>Maximum a posteriori model</translation>
    </message>
</context>
<context>
    <name>dispfit::ExportFileDialog</name>
    <message>
        <source>所有文件 (*)</source>
        <translation>All files (*)</translation>
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
        <translation>Accept: normalised misfit ≤</translation>
    </message>
    <message>
        <source>接受：拟合差 (m/s) 不大于最佳的倍数</source>
        <translation>Accept: misfit (m/s) ≤ best ×</translation>
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
    <message>
        <source>最佳拟合搜索</source>
        <translation>Best-fit search</translation>
    </message>
    <message>
        <source>后验分布（可信区间、场地类别概率）</source>
        <translation>Posterior (credible intervals, site-class probabilities)</translation>
    </message>
    <message>
        <source>少于层数时层数也被抽样</source>
        <translation>Below the layer count the count is sampled too</translation>
    </message>
    <message>
        <source>方法</source>
        <translation>Method</translation>
    </message>
    <message>
        <source>后验：最少层数</source>
        <translation>Posterior: fewest layers</translation>
    </message>
    <message>
        <source>后验：样本数</source>
        <translation>Posterior: samples</translation>
    </message>
    <message>
        <source>后验按地表可观测基阶取样</source>
        <translation>Posterior under the surface-observed fundamental</translation>
    </message>
    <message>
        <source>后验的模型曲线取地表台阵记录的模态（默认）；不勾选则取最低根：约快 10 倍，但可能以地表记录不到的深部陷波模态拟合曲线</source>
        <translation>The posterior takes each model’s curve from the mode a surface array records (the default); unticked, from the lowest root: about 10 times faster, but it may fit the curve with modes trapped at depth that no surface array records</translation>
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
    <name>dispfit::MaswSettingsDialog</name>
    <message>
        <source>地震记录设置</source>
        <translation>Shot records settings</translation>
    </message>
    <message>
        <source>相移法</source>
        <translation>Phase shift</translation>
    </message>
    <message>
        <source>频率域波束形成（柱面波）</source>
        <translation>Frequency-domain beamformer (cylindrical)</translation>
    </message>
    <message>
        <source>接收点位置</source>
        <translation>Receiver positions</translation>
    </message>
    <message>
        <source>震源位置</source>
        <translation>Source position</translation>
    </message>
    <message>
        <source>采样间隔</source>
        <translation>Sample interval</translation>
    </message>
    <message>
        <source>时间窗</source>
        <translation>Time window</translation>
    </message>
    <message>
        <source>随距离移动的切除</source>
        <translation>Mute moving with distance</translation>
    </message>
    <message>
        <source>拾取速度范围</source>
        <translation>Velocities picked</translation>
    </message>
    <message>
        <source>起始点</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>按对数波长分组</source>
        <translation>Bins of log wavelength</translation>
    </message>
    <message>
        <source>几何</source>
        <translation>Geometry</translation>
    </message>
    <message>
        <source>频散图像</source>
        <translation>Dispersion image</translation>
    </message>
    <message>
        <source>拾取与统计</source>
        <translation>Picking and statistics</translation>
    </message>
    <message>
        <source>不选时使用文件中的几何。</source>
        <translation>Unticked, the files&apos; geometry is used.</translation>
    </message>
    <message>
        <source>第 1 个接收点的位置，道间距</source>
        <translation>Position of receiver 1, spacing</translation>
    </message>
    <message>
        <source>距离 r 处的时间窗：从 T0 + r/V快 到 T1 + r/V慢</source>
        <translation>At distance r the window runs from T0 + r/Vfast to T1 + r/Vslow</translation>
    </message>
    <message>
        <source>每十倍波长的分组数；不选时按频率统计</source>
        <translation>Bins a decade of wavelength; unticked, by frequency</translation>
    </message>
    <message>
        <source>频率：最低、最高、步长</source>
        <translation>Frequencies: lowest, highest, step</translation>
    </message>
    <message>
        <source>相速度：最低、最高、步长</source>
        <translation>Phase velocities: lowest, highest, step</translation>
    </message>
    <message>
        <source>变换</source>
        <translation>Transform</translation>
    </message>
    <message>
        <source>相邻频率间速度的最大变化</source>
        <translation>Largest change from one frequency to the next</translation>
    </message>
    <message>
        <source>每点至少出现在几个偏移距</source>
        <translation>Least source offsets a point is seen at</translation>
    </message>
    <message>
        <source>最低频率必须大于 0。</source>
        <translation>The lowest frequency must be above 0.</translation>
    </message>
    <message>
        <source>频率步长必须大于 0。</source>
        <translation>The frequency step must be above 0.</translation>
    </message>
    <message>
        <source>最低频率必须低于最高频率。</source>
        <translation>The lowest frequency must lie below the highest.</translation>
    </message>
    <message>
        <source>频率步长太小：从最低到最高超过 %1 步。</source>
        <translation>The frequency step is too small: more than %1 steps from the lowest to the highest.</translation>
    </message>
    <message>
        <source>最低相速度必须大于 0。</source>
        <translation>The lowest phase velocity must be above 0.</translation>
    </message>
    <message>
        <source>相速度步长必须大于 0。</source>
        <translation>The velocity step must be above 0.</translation>
    </message>
    <message>
        <source>最低相速度必须低于最高相速度。</source>
        <translation>The lowest phase velocity must lie below the highest.</translation>
    </message>
    <message>
        <source>相速度步长太小：从最低到最高超过 %1 步。</source>
        <translation>The velocity step is too small: more than %1 steps from the lowest to the highest.</translation>
    </message>
    <message>
        <source>最高频率必须低于记录的奈奎斯特频率（采样间隔的倒数的一半）。</source>
        <translation>The highest frequency must lie below the records&apos; Nyquist frequency (half the inverse of the sample interval).</translation>
    </message>
    <message>
        <source>时间窗的起点必须早于终点。</source>
        <translation>The time window must start before it ends.</translation>
    </message>
    <message>
        <source>切除的两个速度必须大于 0。</source>
        <translation>Both velocities of the mute must be above 0.</translation>
    </message>
    <message>
        <source>切除的前沿速度必须大于后沿速度。</source>
        <translation>The mute&apos;s front velocity must be above its back velocity.</translation>
    </message>
    <message>
        <source>切除移动的是时间窗的两端：请同时选择时间窗。</source>
        <translation>The mute moves the ends of the time window: choose a time window too.</translation>
    </message>
    <message>
        <source>第 1 个接收点的位置和道间距须一起给出。</source>
        <translation>The position of receiver 1 and the spacing are given together.</translation>
    </message>
    <message>
        <source>道间距不能为 0。</source>
        <translation>The spacing must not be 0.</translation>
    </message>
    <message>
        <source>采样间隔必须大于 0。</source>
        <translation>The sample interval must be above 0.</translation>
    </message>
    <message>
        <source>接收点范围：从 1 到 %1，起点在终点之前。</source>
        <translation>Receivers: from 1 to %1, the first before the last.</translation>
    </message>
    <message>
        <source>每点至少出现的偏移距数须为 2 到 %1。</source>
        <translation>The least source offsets a point is seen at must be 2 to %1.</translation>
    </message>
    <message>
        <source>每十倍波长的分组数须为 1 到 %1。</source>
        <translation>The bins a decade of wavelength must be 1 to %1.</translation>
    </message>
    <message>
        <source>拾取速度范围的下限必须低于上限。</source>
        <translation>The lowest velocity picked must lie below the highest.</translation>
    </message>
    <message>
        <source>拾取速度范围在图像的相速度之外。</source>
        <translation>The velocities picked lie outside the image&apos;s.</translation>
    </message>
    <message>
        <source>起始点在图像之外。</source>
        <translation>The seed lies outside the image.</translation>
    </message>
    <message>
        <source>最大变化须大于 0 % 且小于 100 %。</source>
        <translation>The largest change must be above 0 % and below 100 %.</translation>
    </message>
    <message>
        <source>只用接收点：从、到</source>
        <translation>Only receivers, from and to</translation>
    </message>
</context>
<context>
    <name>dispfit::PosteriorResultsWindow</name>
    <message>
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>%1 个样本，%2 条温度为 1 的链</source>
        <translation>%1 samples, %2 chains at temperature 1</translation>
    </message>
    <message>
        <source>R̂：Vs30 %1，对数似然 %2</source>
        <translation>R̂: Vs30 %1, log-likelihood %2</translation>
    </message>
    <message>
        <source>有效样本数：Vs30 %1，对数似然 %2</source>
        <translation>Effective sample size: Vs30 %1, log-likelihood %2</translation>
    </message>
    <message>
        <source>未收敛：已取消，请让其运行完毕</source>
        <translation>Not converged: cancelled; let it run to the end</translation>
    </message>
    <message>
        <source>未收敛：请增加样本数</source>
        <translation>Not converged: raise the samples</translation>
    </message>
    <message>
        <source>后验分布</source>
        <translation>Posterior</translation>
    </message>
    <message>
        <source>体系</source>
        <translation>Scheme</translation>
    </message>
    <message>
        <source>类别</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>Vs30 范围</source>
        <translation>Vs30 range</translation>
    </message>
    <message>
        <source>概率</source>
        <translation>Probability</translation>
    </message>
    <message>
        <source>层数概率：</source>
        <translation>Layer count probabilities:</translation>
    </message>
    <message>
        <source>区间与概率不可信。</source>
        <translation>The intervals and probabilities are not to be trusted.</translation>
    </message>
    <message>
        <source>%1 层</source>
        <translation>%1 layers</translation>
    </message>
    <message>
        <source>%1–%2 层</source>
        <translation>%1 to %2 layers</translation>
    </message>
    <message>
        <source>可信区间是此似然与先验下后验的百分位数：以参数范围包含场地、误差为所用 σ 的独立高斯误差及正演规则为条件；不是真值的界限，也不是其他先验或噪声模型下的区间。</source>
        <translation>The credible intervals are percentiles of the posterior under this likelihood and prior: conditional on the ranges holding the site, on independent Gaussian errors of the sigma used and on the forward rule; they are no bound on the truth, and not the intervals of another prior or noise model.</translation>
    </message>
    <message>
        <source>实测校准（%1 个 %2的合成场地，噪声 2%，见 README）</source>
        <translation>Measured calibration (%1 synthetic sites of %2, noised at 2 %; see the README</translation>
    </message>
    <message>
        <source>，%1未实测</source>
        <translation>; %1 were not measured</translation>
    </message>
    <message>
        <source>：50/80/90% 区间含真实 Vs30 的比例为 %1%</source>
        <translation>): the 50/80/90 % intervals held the true Vs30 at %1 % of the sites</translation>
    </message>
    <message>
        <source>，2、5、10 m 处 Vs 不低于 %1%</source>
        <translation> and Vs at 2, 5 and 10 m at no less than %1 %</translation>
    </message>
    <message>
        <source>：低于名义覆盖率，区间偏窄。</source>
        <translation>: short of their nominal coverage, so read them as too narrow.</translation>
    </message>
    <message>
        <source>：与名义覆盖率相差不超过 8 个百分点。</source>
        <translation>: within 8 points of their nominal coverage.</translation>
    </message>
    <message>
        <source>正演规则检查：%1/%2 个样本（%3%）靠地表台阵记录不到的模态（深部陷波模态）拟合曲线</source>
        <translation>Forward-rule check: %1 of %2 samples (%3 %) fit the curve through a mode a surface array would not record (a mode trapped at depth)</translation>
    </message>
    <message>
        <source>拟合检验：最佳拟合 Q %1，%2 个自由度（点数减参数数），χ² p %3</source>
        <translation>Fit check: the best fit&apos;s Q %1 with %2 degrees of freedom (points less parameters), χ² p %3</translation>
    </message>
    <message>
        <source>在其 σ 内没有模型拟合曲线：曲线可能在某些频率记录了最低根以外的模态，或范围不含场地、σ 过小；区间属于曲线并不符合的问题。</source>
        <translation>No model fits the curve within its σ: at some frequencies the curve may record a mode other than the lowest root, or the ranges exclude the site, or σ is too small; the intervals belong to a problem the curve does not fit.</translation>
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
        <source>在其 σ 内没有模型拟合曲线：范围可能不含场地，或 σ 过小；区间属于曲线并不符合的问题。</source>
        <translation>No model fits the curve within its σ: the ranges may exclude the site, or σ is too small; the intervals belong to a problem the curve does not fit.</translation>
    </message>
    <message>
        <source>地表可观测规则下实测校准（%1 个 %2的合成场地，曲线为其地表可观测基阶，噪声 2%，见 README）</source>
        <translation>Measured calibration under the surface-observed rule (%1 synthetic sites of %2, each curve its surface-observed fundamental, noised at 2 %; see the README</translation>
    </message>
    <message>
        <source>区间包含这些模型：可勾选“Vs 不随深度减小”，或勾选“后验按地表可观测基阶取样”重新取样。</source>
        <translation>The intervals hold those models: tick “Vs does not decrease with depth”, or sample again with “Posterior under the surface-observed fundamental” ticked.</translation>
    </message>
</context>
<context>
    <name>dispfit::ResidualChart</name>
    <message>
        <source>残差/σ</source>
        <translation>residual/σ</translation>
    </message>
    <message>
        <source>残差 (m/s)</source>
        <translation>residual (m/s)</translation>
    </message>
    <message>
        <source>各实测点的残差：(实测 − 计算) 除以误差带的半宽 σ；虚线为 ±1。</source>
        <translation>Each measured point&apos;s residual: (measured − computed) over σ, half the band&apos;s width; the dashed lines are ±1.</translation>
    </message>
    <message>
        <source>各实测点的残差：实测 − 计算，单位 m/s（曲线无误差带）。</source>
        <translation>Each measured point&apos;s residual: measured − computed, in m/s (the curve has no band).</translation>
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
    <message>
        <source>设置...</source>
        <translation>Settings...</translation>
    </message>
    <message>
        <source>正在计算频散图像……</source>
        <translation>Computing the dispersion images...</translation>
    </message>
    <message>
        <source>已按新的设置重新计算。</source>
        <translation>Computed anew with the new settings.</translation>
    </message>
    <message>
        <source>已按新的设置重新计算：保留了 %1 处手工编辑，%2 处无法保留。</source>
        <translation>Computed anew with the new settings: %1 hand edits kept, %2 could not be kept.</translation>
    </message>
    <message>
        <source>叠加表中模型的模态</source>
        <translation>Overlay the model&apos;s modes</translation>
    </message>
    <message>
        <source>在频散图像上画出主窗口表中模型的瑞利波第 0 至 N−1 阶模态：实线为基阶，虚线为高阶，数字为阶数。</source>
        <translation>Draws Rayleigh modes 0 to N−1 of the model in the main window&apos;s table over the dispersion image: the fundamental solid, the higher modes dashed, each labelled with its number.</translation>
    </message>
    <message>
        <source>阶数 N：</source>
        <translation>Modes N:</translation>
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
    <message>
        <source>Vs%1 中值 %2 m/s，5%–95% %3–%4</source>
        <translation>Vs%1 median %2 m/s, 5%–95% %3–%4</translation>
    </message>
    <message>
        <source>离散度不是不确定度：见后验分布</source>
        <translation>The spread is not an uncertainty: see the posterior</translation>
    </message>
    <message>
        <source>最可能类别（概率）：%1</source>
        <translation>Likeliest classes (probability): %1</translation>
    </message>
    <message>
        <source>后验分布的可信区间；各类别的概率见“后验分布”窗口。</source>
        <translation>Credible intervals of the posterior; every class&apos;s probability is in the Posterior window.</translation>
    </message>
    <message>
        <source>；实测区间偏窄</source>
        <translation>; measured: the intervals are too narrow</translation>
    </message>
    <message>
        <source>（含地表记录不到的模态）</source>
        <translation> (holding unrecorded modes)</translation>
    </message>
    <message>
        <source>（拟合超出 σ）</source>
        <translation> (misfit beyond σ)</translation>
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
        <translation>VR (m/s)</translation>
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
        <source>结果未导出。</source>
        <translation>The results were not exported.</translation>
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
        <source>停止原因：拟合差已低于容差 0.001 m/s（%1 次迭代，上限 %2 次）。</source>
        <translation>Stopped: the misfit fell below the tolerance 0.001 m/s (%1 iterations of at most %2).</translation>
    </message>
    <message>
        <source>停止原因：已收敛，最后一步的各分量都小得无法再走（%1 次迭代，上限 %2 次）；这是拟合差的一个极小值，未必是最小的。</source>
        <translation>Stopped: converged, every component of the last step was too small to go on (%1 iterations of at most %2); a minimum of the misfit, which need not be the deepest.</translation>
    </message>
    <message>
        <source>停止原因：已达迭代次数上限 %1 次而尚未收敛；结果是最后一次迭代的模型（可在反演设置中提高上限）。</source>
        <translation>Stopped: the iteration limit of %1 was reached before the fit converged; the result is the last iteration&apos;s model (the inversion settings raise the limit).</translation>
    </message>
    <message>
        <source>停止原因：再没有阻尼步长能降低拟合差（%1 次迭代）；结果是最后接受的模型。</source>
        <translation>Stopped: no damped step lowered the misfit further (%1 iterations); the result is the last accepted model.</translation>
    </message>
    <message>
        <source>第 %1 层厚度 %2 m 停在上限 %3 m：更宽的范围也许拟合得更好。</source>
        <translation>Layer %1&apos;s thickness %2 m is at its upper bound %3 m: a wider range may fit better.</translation>
    </message>
    <message>
        <source>第 %1 层厚度 %2 m 停在下限 %3 m：更宽的范围也许拟合得更好。</source>
        <translation>Layer %1&apos;s thickness %2 m is at its lower bound %3 m: a wider range may fit better.</translation>
    </message>
    <message>
        <source>第 %1 层 Vs %2 m/s 停在上限 %3 m/s：更宽的范围也许拟合得更好。</source>
        <translation>Layer %1&apos;s Vs %2 m/s is at its upper bound %3 m/s: a wider range may fit better.</translation>
    </message>
    <message>
        <source>第 %1 层 Vs %2 m/s 停在下限 %3 m/s：更宽的范围也许拟合得更好。</source>
        <translation>Layer %1&apos;s Vs %2 m/s is at its lower bound %3 m/s: a wider range may fit better.</translation>
    </message>
    <message>
        <source>导出图片宽度...</source>
        <translation>Export picture width...</translation>
    </message>
    <message>
        <source>导出图片的宽度（像素，默认按 A4 页面 300 dpi）：</source>
        <translation>Width of the exported pictures (pixels; by default 300 dpi on an A4 page):</translation>
    </message>
    <message>
        <source>局部反演：拟合模型</source>
        <translation>Local fit: the fitted model</translation>
    </message>
    <message>
        <source>当前表格模型</source>
        <translation>The table&apos;s model</translation>
    </message>
    <message>
        <source>全局搜索：最佳模型与接受模型的分布</source>
        <translation>Global search: the best model and the spread of the accepted models</translation>
    </message>
    <message>
        <source>频散曲线（%1）</source>
        <translation>Dispersion curve (%1)</translation>
    </message>
    <message>
        <source>横波速度剖面（%1）</source>
        <translation>Vs profile (%1)</translation>
    </message>
    <message>
        <source>DispFit 结果报告：%1</source>
        <translation>DispFit results report: %1</translation>
    </message>
    <message>
        <source>结果已导出：%1 个文件 %2（%3）。</source>
        <translation>Results exported: %1 files named %2 (%3).</translation>
    </message>
    <message>
        <source>打开地震记录...</source>
        <translation>Open shot records...</translation>
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
    <message>
        <source>计算曲线</source>
        <translation>Computed curve</translation>
    </message>
    <message>
        <source>实测点</source>
        <translation>Measured points</translation>
    </message>
    <message>
        <source>误差带</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>拟合曲线</source>
        <translation>Fitted curve</translation>
    </message>
    <message>
        <source>接受模型曲线范围</source>
        <translation>Accepted curves</translation>
    </message>
    <message>
        <source>正在取消，保留已抽取的样本……</source>
        <translation>Cancelling; the samples kept so far stay...</translation>
    </message>
    <message>
        <source>最大后验模型已写入模型表（按 Vp = 3 Vs 计算）。</source>
        <translation>The maximum a posteriori model is in the table (computed there with Vp = 3 Vs).</translation>
    </message>
    <message>
        <source>后验分布无法开始：%1</source>
        <translation>The posterior cannot start: %1</translation>
    </message>
    <message>
        <source>后验分布</source>
        <translation>Posterior</translation>
    </message>
    <message>
        <source>后验分布抽样中……</source>
        <translation>Sampling the posterior...</translation>
    </message>
    <message>
        <source>正在用最佳拟合搜索寻找各链的起点……</source>
        <translation>Finding the chains&apos; starts with a best-fit search...</translation>
    </message>
    <message>
        <source>未知</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>预热：每条链 %1 / %2 步
剩余约 %3 s</source>
        <translation>Burn-in: %1 of %2 steps a chain
About %3 s left</translation>
    </message>
    <message>
        <source>已抽取 %1 / %2 个样本
R̂ %3
剩余约 %4 s</source>
        <translation>%1 of %2 samples kept
R̂ %3
About %4 s left</translation>
    </message>
    <message>
        <source>后验分布失败：%1</source>
        <translation>The posterior failed: %1</translation>
    </message>
    <message>
        <source>后验分布：%1 个样本，R̂ %2</source>
        <translation>Posterior: %1 samples, R̂ %2</translation>
    </message>
    <message>
        <source>后验分布完成。</source>
        <translation>Posterior finished.</translation>
    </message>
    <message>
        <source>后验分布未收敛：请增加样本数。</source>
        <translation>The posterior has not converged: raise the samples.</translation>
    </message>
    <message>
        <source>（未收敛，区间不可信）</source>
        <translation> (not converged: the intervals are not to be trusted)</translation>
    </message>
    <message>
        <source>最佳模型曲线</source>
        <translation>Best model&apos;s curve</translation>
    </message>
    <message>
        <source>后验分布：可信区间与场地类别概率</source>
        <translation>Posterior: credible intervals and site-class probabilities</translation>
    </message>
    <message>
        <source>样本曲线 10%–90%</source>
        <translation>Samples&apos; curves 10–90 %</translation>
    </message>
    <message>
        <source>样本曲线中值</source>
        <translation>Samples&apos; median curve</translation>
    </message>
    <message>
        <source>后验分布完成：部分样本靠地表记录不到的模态拟合，见“后验分布”窗口。</source>
        <translation>Posterior done: some samples fit through modes a surface array would not record; see the Posterior window.</translation>
    </message>
    <message>
        <source>后验分布完成：没有模型在 σ 内拟合曲线，见“后验分布”窗口。</source>
        <translation>Posterior done: no model fits the curve within its σ; see the Posterior window.</translation>
    </message>
</context>
<context>
    <name>dispfit::Vs30HistogramChart</name>
    <message>
        <source>Vs30 后验直方图</source>
        <translation>Posterior Vs30 histogram</translation>
    </message>
    <message>
        <source>样本比例</source>
        <translation>Sample share</translation>
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
    <message>
        <source>5%–95%</source>
        <translation>5–95 % credible</translation>
    </message>
    <message>
        <source>10%–90%</source>
        <translation>10–90 % credible</translation>
    </message>
</context>
</TS>
