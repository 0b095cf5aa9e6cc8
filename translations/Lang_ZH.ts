<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="en">
<context>
    <name>ConversionJob</name>
    <message>
        <source>The job was cancelled.</source>
        <translation>任务已取消。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; already exists and is left as it is.</source>
        <translation>“%1”已存在，保持不变。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be replaced; the result was kept as &quot;%2&quot;.</source>
        <translation>无法替换“%1”；结果已保存为“%2”。</translation>
    </message>
    <message>
        <source>The output folder does not exist or cannot be written to. Choose another folder.</source>
        <translation>输出文件夹不存在或无法写入。请选择其他文件夹。</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>转换失败。</translation>
    </message>
    <message>
        <source>Re-encoded: %1.</source>
        <translation>已重新编码：%1。</translation>
    </message>
    <message>
        <source>Conversion failed, error code</source>
        <translation>转换失败，错误代码</translation>
    </message>
    <message>
        <source>The output file path is too long. Choose an output folder with a shorter path.</source>
        <translation>输出文件路径过长。请选择路径较短的输出文件夹。</translation>
    </message>
    <message>
        <source>The conversion stopped making progress and was ended.</source>
        <translation>转换长时间没有进展，已被终止。</translation>
    </message>
    <message>
        <source>The media tool stopped before the result was complete.</source>
        <translation>媒体工具在输出文件完成前停止了。</translation>
    </message>
</context>
<context>
    <name>ConvertProgressWidget</name>
    <message>
        <source>Converting...</source>
        <translation>正在转换...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Joining</source>
        <translation>正在合并</translation>
    </message>
    <message>
        <source>Cutting</source>
        <translation>正在剪切</translation>
    </message>
</context>
<context>
    <name>CutPlan</name>
    <message>
        <source>the picture has no keyframes</source>
        <translation>视频画面没有关键帧</translation>
    </message>
    <message>
        <source>the picture uses open groups of pictures</source>
        <translation>视频画面使用了开放式 GOP</translation>
    </message>
    <message>
        <source>the picture reorders more frames than an encoder can match</source>
        <translation>视频画面重排序的帧数超出了编码器的匹配能力</translation>
    </message>
    <message>
        <source>the %1 container cannot carry encoded and copied frames together</source>
        <translation>%1 容器无法同时容纳重新编码的帧和复制的帧</translation>
    </message>
    <message>
        <source>there is no matching encoder for %1 %2</source>
        <translation>没有与 %1 %2 匹配的编码器</translation>
    </message>
    <message>
        <source>the range is empty</source>
        <translation>所选范围为空</translation>
    </message>
    <message>
        <source>the range holds no frame</source>
        <translation>所选范围内没有帧</translation>
    </message>
    <message>
        <source>the range is shorter than the keyframe spacing</source>
        <translation>所选范围短于关键帧间隔</translation>
    </message>
</context>
<context>
    <name>FrameIndex</name>
    <message>
        <source>the file could not be read</source>
        <translation>无法读取该文件</translation>
    </message>
    <message>
        <source>the video stream has no time base</source>
        <translation>视频流缺少时间基</translation>
    </message>
</context>
<context>
    <name>HadUpdateWidget</name>
    <message>
        <source>There is a new version, do you want to update now?</source>
        <translation>发现新版本，是否立即更新？</translation>
    </message>
    <message>
        <source>Note: Our software is frequently optimized and upgraded. Please update to the latest version in time!</source>
        <translation>提示：我们会不断优化和升级软件，请及时更新到最新版本！</translation>
    </message>
    <message>
        <source>Note: This copy of Splicora is updated with your system&apos;s packages. Update it there, or read more on the homepage.</source>
        <translation>提示：当前安装的 Splicora 随系统软件包一起更新。请通过系统的软件包管理器进行更新，或前往主页了解详情。</translation>
    </message>
    <message>
        <source>Change Log:</source>
        <translation>更新日志：</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>立即更新</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>主页</translation>
    </message>
    <message>
        <source>New version detected, downloading...</source>
        <translation>检测到新版本，正在下载...</translation>
    </message>
    <message>
        <source>Note: If the download fails, please click the link below to download the update file through browser.</source>
        <translation>提示：如果下载失败，请单击下方链接，通过浏览器下载更新文件。</translation>
    </message>
    <message>
        <source>Download link: </source>
        <translation>下载链接： </translation>
    </message>
    <message>
        <source>Download update file failed, Please try again for other time.</source>
        <translation>更新文件下载失败，请稍后重试。</translation>
    </message>
    <message>
        <source>This update cannot be verified, so it is not installed automatically. Download it with the link below.</source>
        <translation>无法验证此更新，因此不会自动安装。请通过下方链接下载。</translation>
    </message>
    <message>
        <source>Downloading Update</source>
        <translation>正在下载更新</translation>
    </message>
    <message>
        <source>A conversion is running. Finish or cancel it first, then update.</source>
        <translation>有转换任务正在进行。请等待其完成或将其取消，然后再更新。</translation>
    </message>
</context>
<context>
    <name>JobListFile</name>
    <message>
        <source>This is not a Splicora list: its text is not JSON (%1 at character %2).</source>
        <translation>这不是 Splicora 列表：其文本不是 JSON（%1，位于第 %2 个字符）。</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it holds no JSON object.</source>
        <translation>这不是 Splicora 列表：其中没有 JSON 对象。</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no version number.</source>
        <translation>这不是 Splicora 列表：没有版本号。</translation>
    </message>
    <message>
        <source>This list was saved by a newer version of Splicora (list version %1); update Splicora to open it.</source>
        <translation>此列表由较新版本的 Splicora 保存（列表版本 %1）；请更新 Splicora 后再打开。</translation>
    </message>
    <message>
        <source>This is not a Splicora list: it has no &quot;items&quot; array.</source>
        <translation>这不是 Splicora 列表：没有“items”数组。</translation>
    </message>
    <message>
        <source>Item %1 of the list is not an object.</source>
        <translation>列表的第 %1 项不是对象。</translation>
    </message>
    <message>
        <source>Item %1 of the list has no path.</source>
        <translation>列表的第 %1 项没有路径。</translation>
    </message>
    <message>
        <source>Item %1 of the list has a start that is not a time (seconds, 0 or more).</source>
        <translation>列表的第 %1 项的开始不是时间（秒数，0 或以上）。</translation>
    </message>
    <message>
        <source>Item %1 of the list has an end that is not a time (seconds, 0 or more).</source>
        <translation>列表的第 %1 项的结束不是时间（秒数，0 或以上）。</translation>
    </message>
    <message>
        <source>Item %1 of the list ends before its start.</source>
        <translation>列表的第 %1 项在开始之前就结束了。</translation>
    </message>
    <message>
        <source>Item %1 of the list has a track that is not a whole number, 0 or more.</source>
        <translation>列表的第 %1 项的音轨不是 0 或以上的整数。</translation>
    </message>
    <message>
        <source>The list could not be saved as %1: %2.</source>
        <translation>无法将列表保存为 %1：%2。</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: %2.</source>
        <translation>无法读取列表 %1：%2。</translation>
    </message>
    <message>
        <source>it is not a file</source>
        <translation>它不是文件</translation>
    </message>
    <message>
        <source>The list %1 cannot be read: it is far too large to be a list.</source>
        <translation>无法读取列表 %1：文件过大，不可能是列表。</translation>
    </message>
</context>
<context>
    <name>ListNoItemWidget</name>
    <message>
        <source>Drag and drop files to start</source>
        <translation>将文件拖放到此处开始</translation>
    </message>
</context>
<context>
    <name>LosslessJob</name>
    <message>
        <source>The media tool could not be started. Check that ffmpeg is installed.</source>
        <translation>无法启动媒体工具。请检查是否已安装 ffmpeg。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; can no longer be read. It may have been moved or deleted.</source>
        <translation>“%1”已无法读取，可能已被移动或删除。</translation>
    </message>
    <message>
        <source>The work folder cannot be written to.</source>
        <translation>无法写入工作文件夹。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged or can no longer be read.</source>
        <translation>“%1”已损坏或无法再读取。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; cannot be cut: %2.</source>
        <translation>无法剪切“%1”：%2。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; has no sound track %2 in the kept range.</source>
        <translation>“%1”在保留的范围内没有音轨 %2。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged: its frames could not be read.</source>
        <translation>“%1”已损坏：无法读取其中的帧。</translation>
    </message>
    <message>
        <source>A file name holds a line break and cannot be joined. Rename the file.</source>
        <translation>有文件名包含换行符，无法合并。请重命名该文件。</translation>
    </message>
    <message>
        <source>A file named &quot;%1&quot; appeared in the output folder; nothing was written.</source>
        <translation>输出文件夹中出现了名为“%1”的文件，未写入任何内容。</translation>
    </message>
    <message>
        <source>the encoder settings of &quot;%1&quot; cannot be matched</source>
        <translation>无法匹配“%1”的编码器设置</translation>
    </message>
    <message>
        <source>There is not enough room in the output folder. Free some space or choose another folder.</source>
        <translation>输出文件夹空间不足。请释放一些空间或选择其他文件夹。</translation>
    </message>
    <message>
        <source>A file has no sound track of the number chosen in its row.</source>
        <translation>某个文件没有其所在行中选择的音轨。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is damaged and cannot be read.</source>
        <translation>“%1”已损坏，无法读取。</translation>
    </message>
    <message>
        <source>The output folder cannot be written to. Choose another folder.</source>
        <translation>无法写入输出文件夹。请选择其他文件夹。</translation>
    </message>
    <message>
        <source>The media tool stopped unexpectedly.</source>
        <translation>媒体工具意外停止。</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>转换失败。</translation>
    </message>
    <message>
        <source>The result cannot be played back; it was removed.</source>
        <translation>输出文件无法播放，已将其删除。</translation>
    </message>
    <message>
        <source>&quot;%1&quot; ended early at %2, so the result is %3 s shorter than chosen.</source>
        <translation>“%1”在 %2 处提前结束，因此输出文件比所选时长短 %3 秒。</translation>
    </message>
    <message>
        <source>The result is %1 s shorter than chosen.</source>
        <translation>输出文件比所选时长短 %1 秒。</translation>
    </message>
</context>
<context>
    <name>MyMessageDialog</name>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>NoUpdateWidget</name>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>The software version you are currently using is: V</source>
        <translation>您当前使用的软件版本为：V</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>This copy of Splicora has no update site; it is updated with your system&apos;s packages.</source>
        <translation>当前安装的 Splicora 没有更新站点，它会随系统软件包一起更新。</translation>
    </message>
    <message>
        <source>Could not reach the update server. Please check your connection and try again.</source>
        <translation>无法连接到更新服务器。请检查网络连接后重试。</translation>
    </message>
    <message>
        <source>You already have the latest version, no need to update!</source>
        <translation>当前已是最新版本，无需更新！</translation>
    </message>
</context>
<context>
    <name>Notices</name>
    <message>
        <source>The media tool ffmpeg was not found.
Put ffmpeg.exe beside Splicora.</source>
        <translation>未找到媒体工具 ffmpeg。
请将 ffmpeg.exe 放入 Splicora 所在文件夹。</translation>
    </message>
    <message>
        <source>The media tool ffmpeg was not found.
Debian, Ubuntu: sudo apt install ffmpeg
or put ffmpeg beside Splicora.</source>
        <translation>未找到媒体工具 ffmpeg。
Debian、Ubuntu：sudo apt install ffmpeg
或将 ffmpeg 放入 Splicora 所在文件夹。</translation>
    </message>
    <message>
        <source>Splicora&apos;s folder %1 is not safe: %2.
Remove it; until then each run uses a new folder.</source>
        <translation>Splicora 的文件夹 %1 不安全：%2。
请删除它；在此之前，每次运行都使用新文件夹。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
</context>
<context>
    <name>Platform</name>
    <message>
        <source>it is not a folder</source>
        <translation>它不是文件夹</translation>
    </message>
    <message>
        <source>it cannot be made</source>
        <translation>无法创建该文件夹</translation>
    </message>
    <message>
        <source>it is a link to somewhere else</source>
        <translation>它是指向别处的链接</translation>
    </message>
    <message>
        <source>it belongs to another user</source>
        <translation>它属于其他用户</translation>
    </message>
    <message>
        <source>other users can reach it (mode %1)</source>
        <translation>其他用户可以访问它（权限 %1）</translation>
    </message>
    <message>
        <source>it cannot be written</source>
        <translation>无法写入该文件夹</translation>
    </message>
</context>
<context>
    <name>ProbeRefusal</name>
    <message>
        <source>not a media file</source>
        <translation>不是媒体文件</translation>
    </message>
    <message>
        <source>cannot be read</source>
        <translation>无法读取</translation>
    </message>
    <message>
        <source>damaged</source>
        <translation>已损坏</translation>
    </message>
    <message>
        <source>This file was not added:</source>
        <translation>此文件未能添加：</translation>
    </message>
    <message>
        <source>These files were not added:</source>
        <translation>以下文件未能添加：</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <extracomment>A refused file and why, e.g. &quot;notes.mp4: not a media file&quot;.</extracomment>
        <translation>%1：%2</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>……另有 %n 个文件。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>VCBottomWidget</name>
    <message>
        <source>The output-format file has no sound; the sound of the other files is kept in this format.</source>
        <translation>作为输出格式的文件没有声音；其他文件的声音将以此格式保留。</translation>
    </message>
    <message>
        <source>Profile:</source>
        <translation>输出格式：</translation>
    </message>
    <message>
        <source>Exact</source>
        <translation>精确</translation>
    </message>
    <message>
        <source>Keyframe</source>
        <translation>关键帧</translation>
    </message>
    <message>
        <source>Start on the chosen frame: the frames up to the next keyframe are encoded again, the rest is copied.</source>
        <translation>从所选帧开始：从该帧到下一个关键帧之间的帧会重新编码，其余部分直接复制。</translation>
    </message>
    <message>
        <source>Copy only, nothing is encoded again: Start moves back to the keyframe at or before it.</source>
        <translation>仅复制，不重新编码：开始位置会移回该处或其之前最近的关键帧。</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>输出文件夹：</translation>
    </message>
    <message>
        <source>Join</source>
        <translation>合并</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>开始</translation>
    </message>
    <message>
        <source>Open Directory</source>
        <translation>选择输出文件夹</translation>
    </message>
    <message>
        <source>Conversion failed.</source>
        <translation>转换失败。</translation>
    </message>
    <message>
        <source>Join Completed.</source>
        <translation>合并完成。</translation>
    </message>
    <message>
        <source>Cut Completed.</source>
        <translation>剪切完成。</translation>
    </message>
    <message>
        <source>Conversion completed.</source>
        <translation>转换完成。</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Open Folder</source>
        <translation>打开文件夹</translation>
    </message>
</context>
<context>
    <name>VCMainWidget</name>
    <message>
        <source>Adding files...</source>
        <translation>正在添加文件...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>Splicora lists (*.splicora.json *.json)</source>
        <translation>Splicora 列表 (*.splicora.json *.json)</translation>
    </message>
    <message>
        <source>The list %1 holds no files.</source>
        <translation>列表 %1 中没有文件。</translation>
    </message>
    <message>
        <source>Replace the file in the list with the saved list?</source>
        <translation>用保存的列表替换列表中的文件吗？</translation>
    </message>
    <message>
        <source>Replace the %1 files in the list with the saved list?</source>
        <translation>用保存的列表替换列表中的 %1 个文件吗？</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Replace</source>
        <translation>替换</translation>
    </message>
    <message>
        <source>This file of the list was not found:</source>
        <translation>未找到列表中的此文件：</translation>
    </message>
    <message>
        <source>These files of the list were not found:</source>
        <translation>未找到列表中的这些文件：</translation>
    </message>
    <message numerus="yes">
        <source>... and %n more.</source>
        <translation>
            <numerusform>……还有 %n 个。</numerusform>
        </translation>
    </message>
    <message>
        <source>Save List</source>
        <translation>保存列表</translation>
    </message>
    <message>
        <source>Open List</source>
        <translation>打开列表</translation>
    </message>
</context>
<context>
    <name>VCTopWidget</name>
    <message>
        <source>Open File</source>
        <translation>打开文件</translation>
    </message>
    <message>
        <source>All media files</source>
        <translation>所有媒体文件</translation>
    </message>
    <message>
        <source>All files</source>
        <translation>所有文件</translation>
    </message>
    <message>
        <source>Tarnwick Framewright</source>
        <translation>Tarnwick Framewright</translation>
    </message>
    <message>
        <source>Ver: </source>
        <translation>版本： </translation>
    </message>
    <message>
        <source>Add Files</source>
        <translation>添加文件</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>清空列表</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>菜单</translation>
    </message>
    <message>
        <source>Feedback</source>
        <translation>反馈</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Homepage</source>
        <translation>主页</translation>
    </message>
    <message>
        <source>How to cut video</source>
        <translation>如何剪切视频</translation>
    </message>
    <message>
        <source>How to join videos</source>
        <translation>如何合并视频</translation>
    </message>
    <message>
        <source>Support</source>
        <translation>技术支持</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>保存列表…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>打开列表…</translation>
    </message>
</context>
<context>
    <name>VideoItemWidget</name>
    <message>
        <source>Duration:</source>
        <translation>时长：</translation>
    </message>
    <message>
        <source>Set as output format</source>
        <translation>设为输出格式</translation>
    </message>
    <message>
        <source>Audio:</source>
        <translation>音频：</translation>
    </message>
    <message>
        <source>Set as default format</source>
        <translation>设为默认格式</translation>
    </message>
    <message>
        <source>Move Up</source>
        <translation>上移</translation>
    </message>
    <message>
        <source>Move Down</source>
        <translation>下移</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>移除</translation>
    </message>
    <message>
        <source>Remove All</source>
        <translation>全部移除</translation>
    </message>
    <message>
        <source>Track</source>
        <translation>音轨</translation>
    </message>
    <message>
        <source>Save List…</source>
        <translation>保存列表…</translation>
    </message>
    <message>
        <source>Open List…</source>
        <translation>打开列表…</translation>
    </message>
</context>
<context>
    <name>VideoListWidget</name>
    <message>
        <source>File:</source>
        <translation>文件数：</translation>
    </message>
    <message>
        <source>Total:</source>
        <translation>总时长：</translation>
    </message>
</context>
<context>
    <name>VideoPlayerWidget</name>
    <message>
        <source>Start:</source>
        <translation>开始：</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>结束：</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>重置</translation>
    </message>
    <message>
        <source>Apply All</source>
        <translation>全部应用</translation>
    </message>
    <message>
        <source>Set start time</source>
        <translation>设置开始时间</translation>
    </message>
    <message>
        <source>Set end time</source>
        <translation>设置结束时间</translation>
    </message>
</context>
</TS>
