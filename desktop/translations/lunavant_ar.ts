<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ar">
<context>
    <name>AddInsDialog</name>
    <message>
        <source>COM Add-Ins</source>
        <translation>الوظائف الإضافية COM</translation>
    </message>
    <message>
        <source>Add-ins &amp;available:</source>
        <translation>الوظائف الإضافية ال&amp;متاحة:</translation>
    </message>
</context>
<context>
    <name>DisplayText</name>
    <message>
        <source>Q%1</source>
        <translation>ر%1</translation>
    </message>
    <message>
        <source>%1 AH</source>
        <translation>%1 هـ</translation>
    </message>
    <message>
        <source>NA</source>
        <comment>no date</comment>
        <translation>لا يوجد</translation>
    </message>
    <message>
        <source>%1 eday</source>
        <translation>%1 يوم متصل</translation>
    </message>
    <message>
        <source>%1 edays</source>
        <translation>%1 يوم متصل</translation>
    </message>
    <message>
        <source>%1 day</source>
        <translation>%1 يوم</translation>
    </message>
    <message>
        <source>%1 days</source>
        <translation>%1 يوم</translation>
    </message>
</context>
<context>
    <name>FilePrompts</name>
    <message>
        <source>&quot;%1&quot; was deleted or moved away by another program.</source>
        <translation>حذف برنامج آخر «%1» أو نقله من مكانه.</translation>
    </message>
    <message>
        <source>The project stays open here; saving it writes the file again.</source>
        <translation>يبقى المشروع مفتوحًا هنا، وحفظه يكتب الملف من جديد.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program.</source>
        <translation>غيّر برنامج آخر «%1».</translation>
    </message>
    <message>
        <source>Reload it from the file? The changes you made here since it was last saved would be lost.</source>
        <translation>هل تريد إعادة تحميله من الملف؟ ستضيع التغييرات التي أجريتها هنا منذ آخر حفظ له.</translation>
    </message>
    <message>
        <source>Reload it from the file?</source>
        <translation>هل تريد إعادة تحميله من الملف؟</translation>
    </message>
    <message>
        <source>&amp;Reload</source>
        <translation>&amp;إعادة التحميل</translation>
    </message>
    <message>
        <source>&amp;Keep Mine</source>
        <translation>إب&amp;قاء نسختي</translation>
    </message>
    <message>
        <source>Save the project there again?</source>
        <translation>هل تريد حفظ المشروع هناك من جديد؟</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;حفظ</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was changed by another program since it was opened or saved here.</source>
        <translation>غيّر برنامج آخر «%1» منذ فُتح أو حُفظ هنا.</translation>
    </message>
    <message>
        <source>Overwriting it loses that change. Reloading it loses your unsaved changes here.</source>
        <translation>الكتابة فوقه تُضيع ذلك التغيير، وإعادة تحميله تُضيع تغييراتك غير المحفوظة هنا.</translation>
    </message>
    <message>
        <source>&amp;Overwrite</source>
        <translation>ال&amp;كتابة فوقه</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>حفظ &amp;باسم...</translation>
    </message>
    <message>
        <source>Reload &quot;%1&quot; from its file? The changes you made here since it was last saved will be lost.</source>
        <translation>هل تريد إعادة تحميل «%1» من ملفه؟ ستضيع التغييرات التي أجريتها هنا منذ آخر حفظ له.</translation>
    </message>
</context>
<context>
    <name>HolidaysDialog</name>
    <message>
        <source>Holidays</source>
        <translation>العطل الرسمية</translation>
    </message>
    <message>
        <source>Holiday &amp;set:</source>
        <translation>&amp;مجموعة العطل:</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;استعراض...</translation>
    </message>
    <message>
        <source>Hijri &amp;years:</source>
        <translation>ال&amp;سنوات الهجرية:</translation>
    </message>
    <message>
        <source>to</source>
        <translation>إلى</translation>
    </message>
    <message>
        <source>&amp;Calendar:</source>
        <translation>ال&amp;تقويم:</translation>
    </message>
    <message>
        <source>Holidays to:</source>
        <translation>العطل الرسمية:</translation>
    </message>
    <message>
        <source>A&amp;dd to the calendar</source>
        <translation>إ&amp;ضافة إلى التقويم</translation>
    </message>
    <message>
        <source>&amp;Take off the calendar</source>
        <translation>إ&amp;زالة من التقويم</translation>
    </message>
</context>
<context>
    <name>HostMessages</name>
    <message>
        <source>Do you want to save the changes you made to &quot;%1&quot;?</source>
        <translation>هل تريد حفظ التغييرات التي أجريتها على «%1»؟</translation>
    </message>
    <message>
        <source>The field %1 is calculated by the host and cannot be set.</source>
        <translation>يحسب البرنامج الحقل «%1» فلا يمكن تعيينه.</translation>
    </message>
    <message>
        <source>The field %1 of a summary task is calculated from its subtasks and cannot be set.</source>
        <translation>يُحسب الحقل «%1» لمهمة الملخص من مهامها الفرعية فلا يمكن تعيينه.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date the field %2 can take.</source>
        <translation>«%1» ليس تاريخًا يقبله الحقل «%2».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is a time of day without a date; the field %2 needs a date.</source>
        <translation>«%1» وقت من اليوم بلا تاريخ؛ يحتاج الحقل «%2» إلى تاريخ.</translation>
    </message>
    <message>
        <source>The date &quot;%1&quot; for the field %2 lies outside the range the host accepts, 1 January 1984 to 31 December 2149.</source>
        <translation>التاريخ «%1» للحقل «%2» خارج المدى الذي يقبله البرنامج، من 1 يناير 1984 إلى 31 ديسمبر 2149.</translation>
    </message>
    <message>
        <source>The field %1 always holds a date; it cannot be NA.</source>
        <translation>يحمل الحقل «%1» تاريخًا دائمًا؛ فلا يمكن أن يكون NA.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number the field %2 can take.</source>
        <translation>«%1» ليس رقمًا يقبله الحقل «%2».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a duration in whole days the field %2 can take.</source>
        <translation>«%1» ليس مدة بأيام كاملة يقبلها الحقل «%2».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not Yes or No, which the field %2 takes.</source>
        <translation>«%1» ليس Yes أو No، وهما ما يقبله الحقل «%2».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a constraint type.</source>
        <translation>«%1» ليس نوع قيد.</translation>
    </message>
    <message>
        <source>The finish &quot;%1&quot; lies before the task&apos;s start.</source>
        <translation>النهاية «%1» تقع قبل بداية المهمة.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a list of links the field %2 can take, such as &quot;3FS+2d;5SS&quot;.</source>
        <translation>«%1» ليس قائمة ارتباطات يقبلها الحقل «%2»، مثل «3FS+2d;5SS».</translation>
    </message>
    <message>
        <source>The field %1 names task %2, which the project does not have.</source>
        <translation>يذكر الحقل «%1» المهمة %2، وليست في المشروع.</translation>
    </message>
    <message>
        <source>Task %1 cannot be linked to itself.</source>
        <translation>لا يمكن ربط المهمة %1 بنفسها.</translation>
    </message>
    <message>
        <source>Task %1 is part of a circular chain of links and outline; the project was not rescheduled.</source>
        <translation>المهمة %1 جزء من سلسلة دائرية من الارتباطات والمخطط التفصيلي؛ فلم تُعَد جدولة المشروع.</translation>
    </message>
    <message>
        <source>The schedule would end after 31 December 2149; the project was not rescheduled.</source>
        <translation>سينتهي الجدول الزمني بعد 31 ديسمبر 2149؛ فلم تُعَد جدولة المشروع.</translation>
    </message>
    <message>
        <source>The contents of the field %1 cannot be cleared.</source>
        <translation>لا يمكن مسح محتوى الحقل «%1».</translation>
    </message>
    <message>
        <source>A working week needs at least one working day.</source>
        <translation>يحتاج أسبوع العمل إلى يوم عمل واحد على الأقل.</translation>
    </message>
    <message>
        <source>A working day must start before it ends, within the day.</source>
        <translation>يجب أن يبدأ يوم العمل قبل أن ينتهي، داخل اليوم نفسه.</translation>
    </message>
    <message>
        <source>No project is open.</source>
        <translation>لا يوجد مشروع مفتوح.</translation>
    </message>
    <message>
        <source>Workbench</source>
        <translation>منضدة العمل</translation>
    </message>
</context>
<context>
    <name>HostNames</name>
    <message>
        <source>Standard</source>
        <translation>قياسي</translation>
    </message>
    <message>
        <source>Formatting</source>
        <translation>تنسيق</translation>
    </message>
    <message>
        <source>Database</source>
        <translation>قاعدة البيانات</translation>
    </message>
    <message>
        <source>New</source>
        <translation>جديد</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>فتح</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>حفظ</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>طباعة</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>معاينة قبل الطباعة</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>قص</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>نسخ</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>لصق</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>تراجع</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>إعادة</translation>
    </message>
    <message>
        <source>Sort Ascending</source>
        <translation>فرز تصاعدي</translation>
    </message>
    <message>
        <source>Sort Descending</source>
        <translation>فرز تنازلي</translation>
    </message>
    <message>
        <source>AutoFilter</source>
        <translation>تصفية تلقائية</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>بحث</translation>
    </message>
    <message>
        <source>Entry</source>
        <translation>إدخال</translation>
    </message>
    <message>
        <source>Baseline</source>
        <translation>الأساس</translation>
    </message>
    <message>
        <source>Constraint Dates</source>
        <translation>تواريخ القيود</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>التكلفة</translation>
    </message>
    <message>
        <source>Delay</source>
        <translation>التأخير</translation>
    </message>
    <message>
        <source>Earned Value Cost Indicators</source>
        <translation>مؤشرات تكلفة القيمة المكتسبة</translation>
    </message>
    <message>
        <source>Earned Value Schedule Indicators</source>
        <translation>مؤشرات جدول القيمة المكتسبة</translation>
    </message>
    <message>
        <source>Earned Value</source>
        <translation>القيمة المكتسبة</translation>
    </message>
    <message>
        <source>Export</source>
        <translation>تصدير</translation>
    </message>
    <message>
        <source>Hyperlink</source>
        <translation>الارتباط التشعبي</translation>
    </message>
    <message>
        <source>Rollup Table</source>
        <translation>جدول التجميع</translation>
    </message>
    <message>
        <source>Schedule</source>
        <translation>الجدول الزمني</translation>
    </message>
    <message>
        <source>Summary</source>
        <translation>ملخص</translation>
    </message>
    <message>
        <source>Tracking</source>
        <translation>التعقب</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>الاستخدام</translation>
    </message>
    <message>
        <source>Variance</source>
        <translation>الفرق</translation>
    </message>
    <message>
        <source>Work</source>
        <translation>العمل</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>المعرف</translation>
    </message>
    <message>
        <source>Indicators</source>
        <translation>المؤشرات</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <source>Duration</source>
        <translation>المدة</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>البداية</translation>
    </message>
    <message>
        <source>Finish</source>
        <translation>النهاية</translation>
    </message>
    <message>
        <source>Predecessors</source>
        <translation>المهام السابقة</translation>
    </message>
    <message>
        <source>Resource Names</source>
        <translation>أسماء الموارد</translation>
    </message>
    <message>
        <source>Late Start</source>
        <translation>البداية المتأخرة</translation>
    </message>
    <message>
        <source>Late Finish</source>
        <translation>النهاية المتأخرة</translation>
    </message>
    <message>
        <source>Free Slack</source>
        <translation>الفائض الحر</translation>
    </message>
    <message>
        <source>Total Slack</source>
        <translation>الفائض الكلي</translation>
    </message>
    <message>
        <source>Actual Start</source>
        <translation>البداية الفعلية</translation>
    </message>
    <message>
        <source>Actual Finish</source>
        <translation>النهاية الفعلية</translation>
    </message>
    <message>
        <source>% Complete</source>
        <translation>نسبة الإنجاز</translation>
    </message>
    <message>
        <source>Physical % Complete</source>
        <translation>نسبة الإنجاز الفعلي</translation>
    </message>
    <message>
        <source>Actual Duration</source>
        <translation>المدة الفعلية</translation>
    </message>
    <message>
        <source>Remaining Duration</source>
        <translation>المدة المتبقية</translation>
    </message>
    <message>
        <source>Actual Cost</source>
        <translation>التكلفة الفعلية</translation>
    </message>
    <message>
        <source>Actual Work</source>
        <translation>العمل الفعلي</translation>
    </message>
    <message>
        <source>Baseline Duration</source>
        <translation>مدة الأساس</translation>
    </message>
    <message>
        <source>Baseline Start</source>
        <translation>بداية الأساس</translation>
    </message>
    <message>
        <source>Baseline Finish</source>
        <translation>نهاية الأساس</translation>
    </message>
    <message>
        <source>Baseline Work</source>
        <translation>عمل الأساس</translation>
    </message>
    <message>
        <source>Baseline Cost</source>
        <translation>تكلفة الأساس</translation>
    </message>
    <message>
        <source>Constraint Type</source>
        <translation>نوع القيد</translation>
    </message>
    <message>
        <source>Constraint Date</source>
        <translation>تاريخ القيد</translation>
    </message>
    <message>
        <source>Fixed Cost</source>
        <translation>التكلفة الثابتة</translation>
    </message>
    <message>
        <source>Fixed Cost Accrual</source>
        <translation>استحقاق التكلفة الثابتة</translation>
    </message>
    <message>
        <source>Start Variance</source>
        <translation>فرق البداية</translation>
    </message>
    <message>
        <source>Finish Variance</source>
        <translation>فرق النهاية</translation>
    </message>
    <message>
        <source>Work Variance</source>
        <translation>فرق العمل</translation>
    </message>
    <message>
        <source>Remaining Work</source>
        <translation>العمل المتبقي</translation>
    </message>
    <message>
        <source>% Work Complete</source>
        <translation>نسبة إنجاز العمل</translation>
    </message>
    <message>
        <source>Cost Variance</source>
        <translation>فرق التكلفة</translation>
    </message>
    <message>
        <source>Remaining Cost</source>
        <translation>التكلفة المتبقية</translation>
    </message>
    <message>
        <source>Leveling Delay</source>
        <translation>تأخير التسوية</translation>
    </message>
    <message>
        <source>Successors</source>
        <translation>المهام اللاحقة</translation>
    </message>
    <message>
        <source>Hyperlink Address</source>
        <translation>عنوان الارتباط التشعبي</translation>
    </message>
    <message>
        <source>Hyperlink SubAddress</source>
        <translation>العنوان الفرعي للارتباط التشعبي</translation>
    </message>
    <message>
        <source>Early Start</source>
        <translation>البداية المبكرة</translation>
    </message>
    <message>
        <source>Early Finish</source>
        <translation>النهاية المبكرة</translation>
    </message>
    <message>
        <source>Created</source>
        <translation>تاريخ الإنشاء</translation>
    </message>
    <message>
        <source>Notes</source>
        <translation>ملاحظات</translation>
    </message>
    <message>
        <source>Task Name</source>
        <translation>اسم المهمة</translation>
    </message>
    <message>
        <source>Actual</source>
        <translation>الفعلي</translation>
    </message>
    <message>
        <source>Act. Cost</source>
        <translation>التكلفة الفعلية</translation>
    </message>
    <message>
        <source>Remaining</source>
        <translation>المتبقي</translation>
    </message>
    <message>
        <source>SubAddress</source>
        <translation>العنوان الفرعي</translation>
    </message>
    <message>
        <source>BAC</source>
        <translation>BAC</translation>
    </message>
    <message>
        <source>Act. Work</source>
        <translation>العمل الفعلي</translation>
    </message>
    <message>
        <source>% W. Comp.</source>
        <translation>نسبة إنجاز العمل</translation>
    </message>
    <message>
        <source>Text Above</source>
        <translation>النص أعلاه</translation>
    </message>
    <message>
        <source>Address</source>
        <translation>العنوان</translation>
    </message>
    <message>
        <source>Resources</source>
        <translation>الموارد</translation>
    </message>
    <message>
        <source>Act. Finish</source>
        <translation>النهاية الفعلية</translation>
    </message>
    <message>
        <source>Phys. % Comp.</source>
        <translation>نسبة الإنجاز الفعلي</translation>
    </message>
    <message>
        <source>% Comp.</source>
        <translation>نسبة الإنجاز</translation>
    </message>
    <message>
        <source>Baseline Dur.</source>
        <translation>مدة الأساس</translation>
    </message>
    <message>
        <source>Finish Var.</source>
        <translation>فرق النهاية</translation>
    </message>
    <message>
        <source>Act. Start</source>
        <translation>البداية الفعلية</translation>
    </message>
    <message>
        <source>Rem. Dur.</source>
        <translation>المدة المتبقية</translation>
    </message>
    <message>
        <source>Total Cost</source>
        <translation>التكلفة الإجمالية</translation>
    </message>
    <message>
        <source>Act. Dur.</source>
        <translation>المدة الفعلية</translation>
    </message>
    <message>
        <source>Start Var.</source>
        <translation>فرق البداية</translation>
    </message>
    <message>
        <source>As Soon As Possible</source>
        <translation>في أقرب وقت ممكن</translation>
    </message>
    <message>
        <source>As Late As Possible</source>
        <translation>في أبعد وقت ممكن</translation>
    </message>
    <message>
        <source>Must Start On</source>
        <translation>يجب أن تبدأ في</translation>
    </message>
    <message>
        <source>Must Finish On</source>
        <translation>يجب أن تنتهي في</translation>
    </message>
    <message>
        <source>Start No Earlier Than</source>
        <translation>تبدأ ليس قبل</translation>
    </message>
    <message>
        <source>Start No Later Than</source>
        <translation>تبدأ ليس بعد</translation>
    </message>
    <message>
        <source>Finish No Earlier Than</source>
        <translation>تنتهي ليس قبل</translation>
    </message>
    <message>
        <source>Finish No Later Than</source>
        <translation>تنتهي ليس بعد</translation>
    </message>
</context>
<context>
    <name>PageSetupDialog</name>
    <message>
        <source>Page Setup</source>
        <translation>إعداد الصفحة</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>الورق</translation>
    </message>
    <message>
        <source>Paper si&amp;ze:</source>
        <translation>&amp;حجم الورق:</translation>
    </message>
    <message>
        <source>&amp;Orientation:</source>
        <translation>الا&amp;تجاه:</translation>
    </message>
    <message>
        <source>Timescale on paper</source>
        <translation>المقياس الزمني على الورق</translation>
    </message>
    <message>
        <source>&amp;Timescale:</source>
        <translation>المقياس ال&amp;زمني:</translation>
    </message>
    <message>
        <source>&amp;Fit timescale to</source>
        <translation>&amp;ملاءمة المقياس الزمني لعرض</translation>
    </message>
    <message>
        <source> pages wide</source>
        <translation> صفحة</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>RTL</translation>
    </message>
</context>
<context>
    <name>RegionalSettingsDialog</name>
    <message>
        <source>Regional Settings</source>
        <translation>الإعدادات الإقليمية</translation>
    </message>
    <message>
        <source>&amp;Override the system&apos;s date settings</source>
        <translation>&amp;تجاوز إعدادات التاريخ في النظام</translation>
    </message>
    <message>
        <source>Short date &amp;pattern:</source>
        <translation>&amp;نمط التاريخ القصير:</translation>
    </message>
    <message>
        <source>Date &amp;separator:</source>
        <translation>&amp;فاصل التاريخ:</translation>
    </message>
</context>
<context>
    <name>SchedulePrintout</name>
    <message>
        <source>dddd, d MMMM yyyy</source>
        <comment>the day printed</comment>
        <translation>dddd، d MMMM yyyy</translation>
    </message>
    <message>
        <source>Printed on %1 (%2 %3 %4 AH)</source>
        <comment>weekday and date; Hijri day, month name, year</comment>
        <translation>طُبع في %1 (%2 %3 %4 هـ)</translation>
    </message>
    <message>
        <source>Printed on %1</source>
        <translation>طُبع في %1</translation>
    </message>
    <message>
        <source>Page %1 of %2</source>
        <translation>الصفحة %1 من %2</translation>
    </message>
</context>
<context>
    <name>SortDialog</name>
    <message>
        <source>Sort</source>
        <translation>فرز</translation>
    </message>
    <message>
        <source>&amp;Sort by:</source>
        <translation>&amp;فرز حسب:</translation>
    </message>
    <message>
        <source>&amp;Then by:</source>
        <translation>&amp;ثم حسب:</translation>
    </message>
    <message>
        <source>&amp;Keep outline structure</source>
        <translation>الإ&amp;بقاء على بنية المخطط التفصيلي</translation>
    </message>
    <message>
        <source>Sorts each summary task&apos;s subtasks among themselves and renumbers the tasks; without it, the view lists every task in order and the project stays as it is.</source>
        <translation>يفرز المهام الفرعية لكل مهمة ملخص فيما بينها ويعيد ترقيم المهام؛ ودونه يسرد العرض المهام كلها بالترتيب ويبقى المشروع كما هو.</translation>
    </message>
</context>
<context>
    <name>TaskIndicators</name>
    <message>
        <source>Manually scheduled: links, constraints and the project start do not move this task.</source>
        <translation>مجدولة يدويًا: لا تحرك الارتباطات ولا القيود ولا بداية المشروع هذه المهمة.</translation>
    </message>
    <message>
        <source>The dates the file gave this task are kept (%1): a recalculation does not model it.</source>
        <translation>تُحفظ التواريخ التي أعطاها الملف لهذه المهمة (%1): لا تحاكيها إعادة الحساب.</translation>
    </message>
    <message>
        <source>This task has a &apos;%1&apos; constraint on %2.</source>
        <translation>على هذه المهمة قيد «%1» في %2.</translation>
    </message>
    <message>
        <source>This task has a &apos;%1&apos; constraint.</source>
        <translation>على هذه المهمة قيد «%1».</translation>
    </message>
    <message>
        <source>Notes: %1</source>
        <translation>ملاحظات: %1</translation>
    </message>
</context>
<context>
    <name>WorkingTimeDialog</name>
    <message>
        <source>Change Working Time</source>
        <translation>تغيير وقت العمل</translation>
    </message>
    <message>
        <source>For &amp;calendar:</source>
        <translation>لل&amp;تقويم:</translation>
    </message>
    <message>
        <source>&amp;Schedule the project on this calendar</source>
        <translation>&amp;جدولة المشروع على هذا التقويم</translation>
    </message>
    <message>
        <source>&amp;New calendar:</source>
        <translation>تقويم ج&amp;ديد:</translation>
    </message>
    <message>
        <source>a name; it copies the calendar shown</source>
        <translation>اسم؛ ينسخ التقويم المعروض</translation>
    </message>
    <message>
        <source>Cr&amp;eate</source>
        <translation>&amp;إنشاء</translation>
    </message>
    <message>
        <source>&amp;Region:</source>
        <translation>ال&amp;منطقة:</translation>
    </message>
    <message>
        <source>Use Its &amp;Working Week</source>
        <translation>استخدام أسبوع &amp;عملها</translation>
    </message>
    <message>
        <source>Calendar of &amp;task:</source>
        <translation>تقويم الم&amp;همة:</translation>
    </message>
    <message>
        <source>Work week</source>
        <translation>أسبوع العمل</translation>
    </message>
    <message>
        <source>&amp;Hours of the checked days:</source>
        <translation>&amp;ساعات الأيام المحددة:</translation>
    </message>
    <message>
        <source>Set &amp;Hours</source>
        <translation>تع&amp;يين الساعات</translation>
    </message>
    <message>
        <source>Exceptions</source>
        <translation>الاستثناءات</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <source>yyyy-MM-dd</source>
        <translation>yyyy-MM-dd</translation>
    </message>
    <message>
        <source>to</source>
        <translation>إلى</translation>
    </message>
    <message>
        <source>worked hours, or empty: day off</source>
        <translation>ساعات العمل، أو فارغ ليوم عطلة</translation>
    </message>
    <message>
        <source>&amp;Add Exception</source>
        <translation>إ&amp;ضافة استثناء</translation>
    </message>
    <message>
        <source>Re&amp;move Exception</source>
        <translation>&amp;حذف الاستثناء</translation>
    </message>
    <message>
        <source>Pick a date in the Gregorian or the Hijri calendar (Alt+Down)</source>
        <translation>اختيار تاريخ بالتقويم الميلادي أو الهجري (Alt+Down)</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::AboutDialog</name>
    <message>
        <source>The converter library cannot be loaded: %1</source>
        <translation>تعذر تحميل مكتبة التحويل: %1</translation>
    </message>
    <message>
        <source>The converter library is an older one: it converts with its built-in Umm al-Qura table and reads no corrections.</source>
        <translation>مكتبة التحويل إصدار أقدم: تحوّل بجدول أم القرى المضمَّن فيها ولا تقرأ أي تصحيحات.</translation>
    </message>
    <message>
        <source>About Lunavant</source>
        <translation>حول Lunavant</translation>
    </message>
    <message>
        <source>&lt;b&gt;Lunavant&lt;/b&gt; %1&lt;br&gt;Hijri (Umm al-Qura) dates beside the task dates of a project.</source>
        <translation>&lt;b&gt;Lunavant&lt;/b&gt; %1&lt;br&gt;التواريخ الهجرية (أم القرى) بجانب تواريخ مهام المشروع.</translation>
    </message>
    <message>
        <source>Hijri calendar in force:</source>
        <translation>التقويم الهجري المعمول به:</translation>
    </message>
    <message>
        <source>Months the corrections change are marked on the Hijri timescale. The corrections file and where it is looked for are described in the converter&apos;s documentation.</source>
        <translation>تُعلَّم على المقياس الزمني الهجري الأشهرُ التي تغيّرها التصحيحات. ويصف توثيق المحوِّل ملف التصحيحات والمواضع التي يُبحث عنه فيها.</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::AddInsDialog</name>
    <message>
        <source>Location: %1</source>
        <translation>الموقع: %1</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::DateCellEditor</name>
    <message>
        <source>Pick a date (Alt+Down)</source>
        <translation>اختيار تاريخ (Alt+Down)</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::DatePicker</name>
    <message>
        <source>The Hijri converter refuses today&apos;s date.</source>
        <translation>يرفض المحوِّل الهجري تاريخ اليوم.</translation>
    </message>
    <message>
        <source>Gregorian</source>
        <translation>ميلادي</translation>
    </message>
    <message>
        <source>Hijri (Umm al-Qura)</source>
        <translation>هجري (أم القرى)</translation>
    </message>
    <message>
        <source>Today</source>
        <translation>اليوم</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>الشهر السابق</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>الشهر التالي</translation>
    </message>
    <message>
        <source>%1 %2 AH</source>
        <translation>%1 %2 هـ</translation>
    </message>
    <message>
        <source>%1 – %2 %3 AH</source>
        <translation>%1 – %2 %3 هـ</translation>
    </message>
    <message>
        <source>%1 %2 – %3 %4 AH</source>
        <translation>%1 %2 – %3 %4 هـ</translation>
    </message>
    <message>
        <source>%1 %2 %3 AH</source>
        <comment>day, month, year of the Hijri calendar</comment>
        <translation>%1 %2 %3 هـ</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::DisplayChoices</name>
    <message>
        <source>&amp;Language</source>
        <translation>الل&amp;غة</translation>
    </message>
    <message>
        <source>The &amp;System&apos;s Language</source>
        <translation>&amp;لغة النظام</translation>
    </message>
    <message>
        <source>&amp;Digits</source>
        <translation>الأ&amp;رقام</translation>
    </message>
    <message>
        <source>&amp;Arabic-Indic Digits (١٢٣)</source>
        <translation>أرقام &amp;عربية (١٢٣)</translation>
    </message>
    <message>
        <source>&amp;Latin Digits (123)</source>
        <translation>أرقام &amp;لاتينية (123)</translation>
    </message>
    <message>
        <source>Time &amp;Axis</source>
        <translation>&amp;محور الزمن</translation>
    </message>
    <message>
        <source>&amp;As the Language Reads</source>
        <translation>&amp;باتجاه قراءة اللغة</translation>
    </message>
    <message>
        <source>Always &amp;Left to Right</source>
        <translation>دائمًا من ال&amp;يسار إلى اليمين</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::EditCommands</name>
    <message>
        <source>Cut</source>
        <translation>قص</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>لصق</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>بحث</translation>
    </message>
    <message>
        <source>Find what:</source>
        <translation>البحث عن:</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation>لم يُعثر على «%1».</translation>
    </message>
    <message>
        <source>&amp;Undo %1</source>
        <translation>&amp;تراجع عن %1</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;تراجع</translation>
    </message>
    <message>
        <source>&amp;Redo %1</source>
        <translation>&amp;إعادة %1</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;إعادة</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::HolidaysDialog</name>
    <message>
        <source>&amp;Add Holidays</source>
        <translation>&amp;إضافة العطل</translation>
    </message>
    <message>
        <source>Holiday</source>
        <translation>العطلة</translation>
    </message>
    <message>
        <source>Hijri</source>
        <translation>هجري</translation>
    </message>
    <message>
        <source>Gregorian</source>
        <translation>ميلادي</translation>
    </message>
    <message>
        <source>What becomes of it</source>
        <translation>ما يؤول إليه</translation>
    </message>
    <message>
        <source>1 holiday would be added to the calendar &quot;%2&quot;.</source>
        <translation>ستضاف عطلة واحدة إلى التقويم «%2».</translation>
    </message>
    <message>
        <source>%1 holidays would be added to the calendar &quot;%2&quot;.</source>
        <translation>عدد العطل التي ستضاف إلى التقويم «%2»: %1.</translation>
    </message>
    <message>
        <source>Holiday Set</source>
        <translation>مجموعة العطل</translation>
    </message>
    <message>
        <source>Holiday sets (*.holidays);;All files (*)</source>
        <translation>مجموعات العطل (*.holidays);;كل الملفات (*)</translation>
    </message>
    <message>
        <source>1 holiday would be taken off the calendar &quot;%2&quot;.</source>
        <translation>ستُزال عطلة واحدة من التقويم «%2».</translation>
    </message>
    <message>
        <source>%1 holidays would be taken off the calendar &quot;%2&quot;.</source>
        <translation>عدد العطل التي ستُزال من التقويم «%2»: %1.</translation>
    </message>
    <message>
        <source>&amp;Remove Holidays</source>
        <translation>&amp;إزالة العطل</translation>
    </message>
    <message>
        <source>Holidays</source>
        <translation>العطل الرسمية</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::MainWindow</name>
    <message>
        <source>Project files (*.xml);;All files (*)</source>
        <translation>ملفات المشاريع (*.xml);;كل الملفات (*)</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;ملف</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;جديد</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;فتح...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>فتح</translation>
    </message>
    <message>
        <source>Open &amp;Recent</source>
        <translation>فتح ملف &amp;حديث</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;حفظ</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>حفظ &amp;باسم...</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>حفظ باسم</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;إغلاق</translation>
    </message>
    <message>
        <source>Page Set&amp;up...</source>
        <translation>&amp;إعداد الصفحة...</translation>
    </message>
    <message>
        <source>Print Pre&amp;view</source>
        <translation>&amp;معاينة قبل الطباعة</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;طباعة...</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>&amp;تصدير PDF...</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;خروج</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;تحرير</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;تراجع</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;إعادة</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;قص</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;نسخ</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;لصق</translation>
    </message>
    <message>
        <source>&amp;Find...</source>
        <translation>&amp;بحث...</translation>
    </message>
    <message>
        <source>Find &amp;Next</source>
        <translation>بحث عن ال&amp;تالي</translation>
    </message>
    <message>
        <source>T&amp;ask</source>
        <translation>&amp;مهمة</translation>
    </message>
    <message>
        <source>&amp;Insert Task</source>
        <translation>&amp;إدراج مهمة</translation>
    </message>
    <message>
        <source>&amp;Delete Task</source>
        <translation>&amp;حذف مهمة</translation>
    </message>
    <message>
        <source>I&amp;ndent</source>
        <translation>إزاحة إلى ال&amp;داخل</translation>
    </message>
    <message>
        <source>&amp;Outdent</source>
        <translation>إزاحة إلى ال&amp;خارج</translation>
    </message>
    <message>
        <source>&amp;Link Tasks</source>
        <translation>&amp;ربط المهام</translation>
    </message>
    <message>
        <source>&amp;Unlink Tasks</source>
        <translation>&amp;فك ربط المهام</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;عرض</translation>
    </message>
    <message>
        <source>&amp;Table</source>
        <translation>&amp;جدول</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>&amp;تكبير</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>ت&amp;صغير</translation>
    </message>
    <message>
        <source>Tool&amp;bars</source>
        <translation>&amp;أشرطة الأدوات</translation>
    </message>
    <message>
        <source>&amp;Hijri Timescale</source>
        <translation>المقياس الزمني ال&amp;هجري</translation>
    </message>
    <message>
        <source>&amp;Above the Gregorian Tiers</source>
        <translation>&amp;فوق المستويات الميلادية</translation>
    </message>
    <message>
        <source>&amp;Below the Gregorian Tiers</source>
        <translation>&amp;تحت المستويات الميلادية</translation>
    </message>
    <message>
        <source>&amp;Hidden</source>
        <translation>&amp;مخفي</translation>
    </message>
    <message>
        <source>Add-&amp;Ins</source>
        <translation>الوظائف الإ&amp;ضافية</translation>
    </message>
    <message>
        <source>&amp;Tools</source>
        <translation>&amp;أدوات</translation>
    </message>
    <message>
        <source>&amp;Add-Ins...</source>
        <translation>&amp;الوظائف الإضافية...</translation>
    </message>
    <message>
        <source>&amp;Regional Settings...</source>
        <translation>الإعدادات الإ&amp;قليمية...</translation>
    </message>
    <message>
        <source>&amp;Holidays...</source>
        <translation>ال&amp;عطل الرسمية...</translation>
    </message>
    <message>
        <source>(none)</source>
        <translation>(لا شيء)</translation>
    </message>
    <message>
        <source>(no add-in connected)</source>
        <translation>(لا وظيفة إضافية متصلة)</translation>
    </message>
    <message>
        <source>%1: finished.</source>
        <translation>%1: تم.</translation>
    </message>
    <message>
        <source>No recovery copy could be written: %1</source>
        <translation>تعذرت كتابة نسخة الاسترداد: %1</translation>
    </message>
    <message>
        <source>Change &amp;Working Time...</source>
        <translation>تغيير وقت ال&amp;عمل...</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;تعليمات</translation>
    </message>
    <message>
        <source>&amp;About Lunavant...</source>
        <translation>&amp;حول Lunavant...</translation>
    </message>
    <message>
        <source>Add-Ins</source>
        <translation>الوظائف الإضافية</translation>
    </message>
    <message>
        <source>Change Working Time</source>
        <translation>تغيير وقت العمل</translation>
    </message>
    <message>
        <source>The program stopped last time without closing these projects; their unsaved changes were kept:</source>
        <translation>توقف البرنامج في المرة السابقة دون إغلاق هذه المشاريع، واحتُفظ بتغييراتها غير المحفوظة:</translation>
    </message>
    <message>
        <source>&amp;Recover</source>
        <translation>&amp;استرداد</translation>
    </message>
    <message>
        <source>&amp;Discard</source>
        <translation>&amp;تجاهل</translation>
    </message>
    <message>
        <source>&amp;Not Now</source>
        <translation>&amp;ليس الآن</translation>
    </message>
    <message>
        <source>The recovery copy &quot;%1&quot; could not be read.</source>
        <translation>تعذرت قراءة نسخة الاسترداد «%1».</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::PageSetupDialog</name>
    <message>
        <source>Landscape</source>
        <translation>أفقي</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>عمودي</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>الأيام</translation>
    </message>
    <message>
        <source>Weeks</source>
        <translation>الأسابيع</translation>
    </message>
    <message>
        <source>Months</source>
        <translation>الأشهر</translation>
    </message>
    <message>
        <source>Quarters</source>
        <translation>الأرباع</translation>
    </message>
    <message>
        <source>Years</source>
        <translation>السنوات</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::PrintCommands</name>
    <message>
        <source>Print Preview</source>
        <translation>معاينة قبل الطباعة</translation>
    </message>
    <message>
        <source>The schedule could not be printed.</source>
        <translation>تعذرت طباعة الجدول الزمني.</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>تصدير PDF</translation>
    </message>
    <message>
        <source>PDF files (*.pdf)</source>
        <translation>ملفات PDF (*.pdf)</translation>
    </message>
    <message>
        <source>%1: the PDF could not be written: %2</source>
        <translation>%1: تعذرت كتابة ملف PDF: %2</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::RegionalSettingsDialog</name>
    <message>
        <source>Example: %1</source>
        <translation>مثال: %1</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::SortCommands</name>
    <message>
        <source>Sort</source>
        <translation>الفرز</translation>
    </message>
    <message>
        <source>Sort &amp;Ascending</source>
        <translation>فرز &amp;تصاعدي</translation>
    </message>
    <message>
        <source>Sort &amp;Descending</source>
        <translation>فرز ت&amp;نازلي</translation>
    </message>
    <message>
        <source>&amp;Keep Outline Structure</source>
        <translation>الإ&amp;بقاء على بنية المخطط التفصيلي</translation>
    </message>
    <message>
        <source>Sort &amp;By...</source>
        <translation>فرز &amp;حسب...</translation>
    </message>
    <message>
        <source>Sort by &amp;ID</source>
        <translation>فرز حسب ال&amp;معرف</translation>
    </message>
    <message>
        <source>&amp;Sort</source>
        <translation>&amp;فرز</translation>
    </message>
    <message>
        <source>by &amp;Start Date</source>
        <translation>حسب تاريخ ال&amp;بداية</translation>
    </message>
    <message>
        <source>by &amp;Finish Date</source>
        <translation>حسب تاريخ ال&amp;نهاية</translation>
    </message>
    <message>
        <source>by &amp;ID</source>
        <translation>حسب ال&amp;معرف</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::SortDialog</name>
    <message>
        <source>(none)</source>
        <translation>(لا شيء)</translation>
    </message>
    <message>
        <source>Ascending</source>
        <translation>تصاعدي</translation>
    </message>
    <message>
        <source>Descending</source>
        <translation>تنازلي</translation>
    </message>
    <message>
        <source>&amp;Sort</source>
        <translation>&amp;فرز</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::TaskCommands</name>
    <message>
        <source>Insert Task</source>
        <translation>إدراج مهمة</translation>
    </message>
    <message>
        <source>Delete Task</source>
        <translation>حذف مهمة</translation>
    </message>
    <message>
        <source>Indent</source>
        <translation>إزاحة إلى الداخل</translation>
    </message>
    <message>
        <source>Outdent</source>
        <translation>إزاحة إلى الخارج</translation>
    </message>
    <message>
        <source>Link Tasks</source>
        <translation>ربط المهام</translation>
    </message>
    <message>
        <source>Unlink Tasks</source>
        <translation>فك ربط المهام</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::TaskSheetModel</name>
    <message>
        <source>Typing</source>
        <translation>الكتابة</translation>
    </message>
    <message>
        <source>Task %1 is a summary task: its dates follow its subtasks, so &quot;%2&quot; was not changed.</source>
        <translation>المهمة %1 مهمة ملخص: تتبع تواريخها مهامها الفرعية، فلم يُغيَّر «%2».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not taken for task %2: an add-in refused the change (a date the scheduler calculates cannot be typed).</source>
        <translation>لم يُقبل «%1» للمهمة %2: رفضت وظيفة إضافية التغيير (لا يُكتب تاريخ يحسبه المجدول).</translation>
    </message>
    <message>
        <source>%1 cells were not changed. The first: %2</source>
        <translation>عدد الخلايا التي لم تُغيَّر: %1. أولها: %2</translation>
    </message>
</context>
<context>
    <name>lunavant::desktop::WorkingTimeDialog</name>
    <message>
        <source>Calendar of &amp;task %1:</source>
        <translation>تقويم الم&amp;همة %1:</translation>
    </message>
    <message>
        <source>World (CLDR&apos;s default)</source>
        <translation>العالم (افتراضي CLDR)</translation>
    </message>
    <message>
        <source>Working day</source>
        <translation>يوم عمل</translation>
    </message>
    <message>
        <source>Working hours</source>
        <translation>ساعات العمل</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>الاسم</translation>
    </message>
    <message>
        <source>Days</source>
        <translation>الأيام</translation>
    </message>
    <message>
        <source>Repeats</source>
        <translation>التكرار</translation>
    </message>
    <message>
        <source>Once</source>
        <translation>مرة واحدة</translation>
    </message>
    <message>
        <source>Daily</source>
        <translation>يوميًا</translation>
    </message>
    <message>
        <source>Weekly</source>
        <translation>أسبوعيًا</translation>
    </message>
    <message>
        <source>Yearly</source>
        <translation>سنويًا</translation>
    </message>
    <message>
        <source>(the project&apos;s calendar)</source>
        <translation>(تقويم المشروع)</translation>
    </message>
    <message>
        <source>A base calendar.</source>
        <translation>تقويم أساسي.</translation>
    </message>
    <message>
        <source>Based on &quot;%1&quot;.</source>
        <translation>مبني على «%1».</translation>
    </message>
    <message>
        <source>(unnamed)</source>
        <translation>(بلا اسم)</translation>
    </message>
    <message>
        <source>Day off</source>
        <translation>يوم عطلة</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not working hours such as 08:00-16:00 or 08:00-12:00, 13:00-17:00.</source>
        <translation>«%1» ليس ساعات عمل مثل 08:00-16:00 أو 08:00-12:00, 13:00-17:00.</translation>
    </message>
    <message>
        <source>A working day needs its working hours.</source>
        <translation>يحتاج يوم العمل إلى ساعات عمله.</translation>
    </message>
    <message>
        <source>Select a named exception to remove.</source>
        <translation>حدد استثناءً له اسم لحذفه.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Project schedules with their task dates in the Hijri calendar. Opens the files given, or the bundled sample project when none is.</source>
        <translation>جداول المشاريع الزمنية وتواريخ مهامها بالتقويم الهجري. يفتح الملفات المعطاة، أو المشروع النموذجي المرفق إن لم تُعطَ ملفات.</translation>
    </message>
    <message>
        <source>Project files (MSPDI).</source>
        <translation>ملفات المشاريع (MSPDI).</translation>
    </message>
    <message>
        <source>Register the add-in module &lt;module&gt; for the current user, then start.</source>
        <translation>يسجل وحدة الوظيفة الإضافية &lt;module&gt; للمستخدم الحالي، ثم يبدأ.</translation>
    </message>
    <message>
        <source>Write screenshots of the main window and the add-in&apos;s dialogs to &lt;folder&gt; and quit.</source>
        <translation>يكتب لقطات للنافذة الرئيسية ولمربعات حوار الوظيفة الإضافية في &lt;folder&gt; ثم يخرج.</translation>
    </message>
</context>
</TS>
