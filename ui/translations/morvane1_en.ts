<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ru">
<context>
    <name>app::Message</name>
    <message>
        <source>Введите правильно данные</source>
        <translation>Enter the data correctly</translation>
    </message>
    <message>
        <source>Ошибка решения уравнений</source>
        <translation>Error in solving the equations</translation>
    </message>
    <message>
        <source>                Несовместимость параметров<byte value="xd"/>
Быстрее всего получились слишком большие силы <byte value="xd"/>
а следоватедьно ускорения, скорости и координаты, что при<byte value="xd"/>
заданных масштабах не позволяет вывести их на зкран</source>
        <translation>                Incompatible parameters<byte value="xd"/>
Most likely the forces came out too large, <byte value="xd"/>
and so the accelerations, velocities and coordinates, which at the<byte value="xd"/>
given scales cannot be shown on the screen</translation>
    </message>
    <message>
        <source>Нет файла shema.gif ни в одной из папок</source>
        <translation>There is no file shema.gif in any of the folders</translation>
    </message>
    <message>
        <source>Файл shema.gif не удалось прочитать как рисунок</source>
        <translation>The file shema.gif could not be read as a picture</translation>
    </message>
</context>
<context>
    <name>ui::Form1</name>
    <message>
        <source>Morvane1 — темп: максимальный</source>
        <translation>Morvane1 — pace: fastest</translation>
    </message>
    <message>
        <source>Morvane1 — темп ×%1</source>
        <translation>Morvane1 — pace ×%1</translation>
    </message>
    <message>
        <source>Morvane1 — темп ×%1, идёт ×%2</source>
        <translation>Morvane1 — pace ×%1, running at ×%2</translation>
    </message>
    <message>
        <source>кг</source>
        <translation>kg</translation>
    </message>
    <message>
        <source>м</source>
        <translation>m</translation>
    </message>
    <message>
        <source>м/с</source>
        <translation>m/s</translation>
    </message>
    <message>
        <source>рад/с</source>
        <translation>rad/s</translation>
    </message>
    <message>
        <source>н*м/рад</source>
        <translation>N*m/rad</translation>
    </message>
    <message>
        <source>н*с/м</source>
        <translation>N*s/m</translation>
    </message>
    <message>
        <source>н*м*с/рад</source>
        <translation>N*m*s/rad</translation>
    </message>
    <message>
        <source>н</source>
        <translation>N</translation>
    </message>
    <message>
        <source>кг*м^2</source>
        <translation>kg*m^2</translation>
    </message>
    <message>
        <source>н/м</source>
        <translation>N/m</translation>
    </message>
    <message>
        <source>MT, с/см</source>
        <translation>MT, s/cm</translation>
    </message>
    <message>
        <source>ML, м/см</source>
        <translation>ML, m/cm</translation>
    </message>
    <message>
        <source>MV, (м/с)/см</source>
        <translation>MV, (m/s)/cm</translation>
    </message>
    <message>
        <source>MF, н/см</source>
        <translation>MF, N/cm</translation>
    </message>
    <message>
        <source>Сделать NC0 шагов</source>
        <translation>Do NC0 steps</translation>
    </message>
    <message>
        <source>шаг, с</source>
        <translation>step, s</translation>
    </message>
    <message>
        <source>T, с</source>
        <translation>T, s</translation>
    </message>
    <message>
        <source>+ тест с fi0=</source>
        <translation>+ test, fi0=</translation>
    </message>
    <message>
        <source>+ траектории</source>
        <translation>+ trajectories</translation>
    </message>
    <message>
        <source> Начать</source>
        <translation> Start</translation>
    </message>
    <message>
        <source>Остановить</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Продолжить</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>схема</source>
        <translation>scheme</translation>
    </message>
    <message>
        <source>вар.1</source>
        <translation>var.1</translation>
    </message>
    <message>
        <source>вар.2</source>
        <translation>var.2</translation>
    </message>
    <message>
        <source>Очистить  рисунки</source>
        <translation>Clear pictures</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>T/MT, см</source>
        <translation>T/MT, cm</translation>
    </message>
</context>
<context>
    <name>ui::Form2</name>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>ui::Help</name>
    <message>
        <source>   Основное назначение программы Morvane, которую я предлагаю вашему вниманию, — наглядно показать, как фиктивная центробежная сила возникает из вполне реальных сил инерции при вращательном движении. Второе, не менее важное её назначение — показать, что при любых скоростях диска, который одновременно движется поступательно и вращается, не возникает никакого бокового дисбаланса центробежных сил, того самого дисбаланса, из-за которого, как пишет Morvane в своей статье, должна была бы появиться так называемая боковая сила. Ниже я коротко опишу модель, способ расчёта сил и работу со всеми полями, кнопками и флажками главного окна.</source>
        <translation>   The main purpose of the program Morvane, which I offer for your attention, is to show plainly how the fictitious centrifugal force arises from the quite real forces of inertia in rotational motion. Its second purpose, no less important, is to show that at any speeds of a disk that both moves forward and spins, no lateral imbalance of the centrifugal forces arises: the very imbalance that, as Morvane writes in his article, would give rise to a so-called lateral force. Below I briefly describe the model, the way the forces are computed and how to work with every field, button and check box of the main window.</translation>
    </message>
    <message>
        <source>Теперь о том, что именно моделирует программа. Диск радиусом R0, массой m0 и с моментом инерции J0 движется в плоскости X–Y с начальной скоростью V0 вдоль оси X и вращается вокруг оси Z с начальной угловой скоростью w0. С противоположных сторон диска на упругих элементах закреплены два груза массами m1 и m2 (m2 = m1); в начальный момент они лежат на оси X на расстояниях R1 и R2 (R2 = R1) от центра диска, так что их ординаты вначале равны нулю. Оба упругих элемента имеют одинаковую радиальную жёсткость CR и одинаковую тангенциальную жёсткость CT. Иначе говоря, грузы связаны с диском не жёстко: упругие элементы позволяют им смещаться вдоль радиусов и поворачиваться относительно диска.</source>
        <translation>Now about what exactly the program models. A disk of radius R0, mass m0 and moment of inertia J0 moves in the X–Y plane with an initial speed V0 along the X axis and spins about the Z axis with an initial angular speed w0. Two loads of masses m1 and m2 (m2 = m1) are fastened to opposite sides of the disk on elastic elements; at the start they lie on the X axis at distances R1 and R2 (R2 = R1) from the centre of the disk, so that their ordinates are zero at first. Both elastic elements have the same radial stiffness CR and the same tangential stiffness CT. In other words, the loads are not fastened rigidly to the disk: the elastic elements let them move along the radii and turn relative to the disk.</translation>
    </message>
    <message>
        <source>Нажав кнопку &lt;схема&gt;, вы увидите на правом рисунке схему, по которой я вычисляю силы, действующие на массы m1 и m2; те же силы, но взятые с обратным знаком, действуют на диск массой m0. Расчёт устроен так: по текущим координатам всех масс мы сначала определяем расстояния R1 и R2 от центра диска до грузов, а радиальные силы находим по формуле</source>
        <translation>Press the button &lt;scheme&gt; and you will see in the right-hand picture the scheme by which I compute the forces acting on the masses m1 and m2; the same forces, taken with the opposite sign, act on the disk of mass m0. The computation goes like this: from the current coordinates of all the masses we first find the distances R1 and R2 from the centre of the disk to the loads, and the radial forces we find by the formula</translation>
    </message>
    <message>
        <source>где VR — скорость изменения радиуса, то есть скорость деформации пружины, а KR — коэффициент вязкого трения. Скажу сразу, что демпфирующее слагаемое в принципе не нужно и в реальной конструкции демпфера может вовсе не быть; силы демпфирования я всегда добавляю в уравнения лишь для того, чтобы их численное решение было устойчивее. Если же вы не хотите их учитывать, просто введите KR = 0, и никакого демпфирования не будет.</source>
        <translation>where VR is the rate of change of the radius, that is, the rate of deformation of the spring, and KR is the coefficient of viscous friction. Let me say at once that the damping term is not needed in principle, and a real construction may have no damper at all; I always add the damping forces to the equations only to make their numerical solution more stable. If you do not want them, simply enter KR = 0, and there will be no damping.</translation>
    </message>
    <message>
        <source>Точно так же по углу поворота fi0 точки крепления упругого элемента CT на диске и по угловым положениям fi1 и fi2 масс мы определяем углы закручивания Dfi1 и Dfi2 упругих элементов, а затем по формуле</source>
        <translation>In the same way, from the rotation angle fi0 of the point where the elastic element CT is fastened to the disk and from the angular positions fi1 and fi2 of the masses, we find the twist angles Dfi1 and Dfi2 of the elastic elements, and then by the formula</translation>
    </message>
    <message>
        <source>находим тангенциальную силу, действующую на m1 и m2, где KT — коэффициент вязкого трения в упругом элементе, а VT — угловая скорость его закручивания. Силы FT1 и FT2 с обратным знаком действуют на m0 и, также с обратным знаком, создают момент, который тормозит вращение диска. Таким образом, диск и грузы действуют друг на друга только через упругие элементы.</source>
        <translation>we find the tangential force acting on m1 and m2, where KT is the coefficient of viscous friction in the elastic element and VT is the angular speed of its twisting. The forces FT1 and FT2 act on m0 with the opposite sign and, also with the opposite sign, create a torque that slows down the rotation of the disk. Thus the disk and the loads act on each other only through the elastic elements.</translation>
    </message>
    <message>
        <source>Далее силы FR и FT раскладываются на составляющие вдоль осей X и Y; по второму закону Ньютона находятся ускорения масс m0, m1 и m2 вдоль осей X и Y, а по моменту, действующему на диск, — его угловое ускорение. Получившаяся система дифференциальных уравнений решается методом Рунге–Кутты с шагом, который вы вводите в поле &lt;шаг, с&gt;, а данные выводятся на экран не после каждого шага, а через каждые столько шагов, сколько вы укажете в поле &lt; NC0&gt;. Тех, кто хочет разобраться в подробностях расчёта, я отсылаю к исходному тексту программы; дальше речь пойдёт только о том, как с программой работать.</source>
        <translation>Next the forces FR and FT are resolved into components along the X and Y axes; Newton&apos;s second law gives the accelerations of the masses m0, m1 and m2 along X and Y, and the torque acting on the disk gives its angular acceleration. The resulting system of differential equations is solved by the Runge–Kutta method with the step you enter in the field &lt;step, s&gt;, and the data are shown on the screen not after every step but after as many steps as you give in the field &lt; NC0&gt;. Those who want to go into the details of the computation I refer to the program&apos;s source code; from here on I speak only of how to work with the program.</translation>
    </message>
    <message>
        <source>Сразу после запуска программы слева вверху окна стоят начальные данные диска с двумя массами; они загружаются по умолчанию, а также кнопкой &lt;вар.1&gt;. Кнопка &lt;вар.2&gt; загружает данные, при которых боковая сила Morvane получается заметной; эту силу программа вычисляет после начала расчёта по формуле, которая написана в окне, и показывает её значение в поле рядом с формулой. Это значение пригодится вам для сравнения с результатами расчёта, о котором рассказано ниже. По формулам, написанным в окне, точно так же вычисляются момент инерции диска J0 и радиальная жёсткость упругого элемента CR.</source>
        <translation>Right after the program starts, the initial data of the disk with its two masses stand at the top left of the window; they are loaded by default and also by the button &lt;var.1&gt;. The button &lt;var.2&gt; loads data with which Morvane&apos;s lateral force comes out noticeable; the program computes this force once the computation has begun, by the formula written in the window, and shows its value in the field beside the formula. You will need this value to compare it with the results of the computation described below. In the same way, the moment of inertia of the disk J0 and the radial stiffness of the elastic element CR are computed by the formulas written in the window.</translation>
    </message>
    <message>
        <source>Пока вы не нажали &lt;Начать&gt;, любое начальное значение можно изменить в его поле. После остановки кнопкой &lt;Остановить&gt;, перед тем как продолжить расчёт кнопкой &lt;Продолжить&gt; или сделать только NC0 шагов кнопкой &lt;Сделать NC0 шагов&gt;, можно изменить лишь некоторые величины: шаг, NC0 и масштабы изображения. MT — масштаб времени для развёртки процессов на нижнем рисунке; ML — масштаб конструкции на правом рисунке, а также масштаб координат X и Y масс, если отмечен флажок &lt;+ траектории&gt;; MV и MF — масштабы скоростей и сил, которые рисуются на нижнем рисунке (это те величины, что показаны в полях справа внизу окна) для каждой силы или скорости, у которой отмечен флажок. Шаг, NC0 и все масштабы программа читает заново при каждом обновлении экрана, то есть через каждые NC0 шагов, поэтому их новые значения вступают в силу при следующем обновлении: после продолжения расчёта первые NC0 шагов ещё делаются со старым шагом, новые масштабы уже применяются к рисункам этого обновления, а новый шаг и новое NC0 — к шагам после него.</source>
        <translation>Until you have pressed &lt;Start&gt;, any initial value can be changed in its field. After stopping with the button &lt;Stop&gt;, before you continue the computation with the button &lt;Continue&gt; or make only NC0 steps with the button &lt;Do NC0 steps&gt;, only some quantities can be changed: the step, NC0 and the display scales. MT is the time scale of the sweep in the bottom picture; ML is the scale of the construction in the right-hand picture, and also the scale of the X and Y coordinates of the masses when the box &lt;+ trajectories&gt; is ticked; MV and MF are the scales of the velocities and forces drawn in the bottom picture (the quantities shown in the fields at the bottom right of the window) for every force or velocity whose box is ticked. The program reads the step, NC0 and all the scales again at every update of the screen, that is, after every NC0 steps, so their new values take effect at the next update: after the computation is continued, the first NC0 steps are still made with the old step, the new scales already apply to the pictures of that update, and the new step and the new NC0 to the steps after it.</translation>
    </message>
    <message>
        <source>Во время расчёта в полях всегда показаны текущие координаты и скорости частей конструкции и действующие на них силы, а в поле &lt;T, с&gt; — модельное время. В поле &lt;Ymrv&gt; выводится ордината, которую диск имел бы к этому моменту, если бы на него действовала сила Fmrv. Сравнив Ymrv с вычисленной ординатой Y0, вы убедитесь, что боковой силы Morvane не существует: центробежная сила, действующая на первый и на второй груз, когда они стоят перпендикулярно направлению движения, одинакова. Это объясняют траектории масс в этих положениях: у траектории левого груза радиус кривизны меньше, у правого — больше, и при разных линейных скоростях грузов это даёт одну и ту же фиктивную центробежную силу. Если бы боковая сила существовала, ордината Y0 менялась бы так же, как Ymrv.</source>
        <translation>During the computation the fields always show the current coordinates and velocities of the parts of the construction and the forces acting on them, and the field &lt;T, s&gt; shows the simulated time. The field &lt;Ymrv&gt; shows the ordinate the disk would have by this moment if the force Fmrv acted on it. Comparing Ymrv with the computed ordinate Y0, you will see that Morvane&apos;s lateral force does not exist: the centrifugal force acting on the first and on the second load, when they stand perpendicular to the direction of motion, is the same. The trajectories of the masses in these positions explain it: the trajectory of the left load has the smaller radius of curvature and that of the right load the larger, and at the different linear speeds of the loads this gives one and the same fictitious centrifugal force. If the lateral force existed, the ordinate Y0 would change just as Ymrv does.</translation>
    </message>
    <message>
        <source>Если вы хотите убедиться, что процессы действительно моделируются, а не просто рассчитываются кинематически, перед запуском с данными варианта 1 отметьте флажок &lt;+ тест с fi0=&gt;. В поле справа от него стоит угол fi0 в радианах, на который диск будет повёрнут в начальный момент, так что упругие элементы окажутся закручены с самого начала. Тогда грузы будут поворачиваться то в одну, то в другую сторону около своих нейтральных положений на диске, а благодаря вязкому трению эти колебания со временем затухнут. Такого поведения простым кинематическим расчётом получить нельзя.</source>
        <translation>If you want to make sure that the processes are really simulated and not merely computed kinematically, tick the box &lt;+ test, fi0=&gt; before starting with the data of variant 1. The field to its right holds the angle fi0 in radians by which the disk is turned at the start, so that the elastic elements are twisted from the very beginning. The loads will then turn now one way, now the other, about their neutral positions on the disk, and thanks to the viscous friction these oscillations die out in time. No simple kinematic computation can give such behaviour.</translation>
    </message>
    <message>
        <source>Конструкция с данными варианта 2 требует очень точного решения, а числа двойной точности, которыми пользуется программа, содержат лишь около 15 значащих цифр, причём в нескольких последних из них накапливается ошибка округления (это видно по значению T с данными варианта 1: T просто растёт на один шаг за каждый шаг, и всё же его последние цифры со временем отходят от точного значения — не случайно, а потому, что каждое сложение округляется до 15–16 цифр). Поэтому для контроля точности я вывожу ещё и полную энергию системы: E0 — её значение в начале вычислительного эксперимента и E — её текущее значение.</source>
        <translation>The construction with the data of variant 2 demands a very accurate solution, while the double-precision numbers the program uses hold only about 15 significant digits, and rounding error accumulates in the last few of them (this can be seen in the value of T with the data of variant 1: T simply grows by one step at every step, and yet in time its last digits drift from the exact value, not by chance, but because every addition is rounded to 15–16 digits). So, to check the accuracy, I also show the total energy of the system: E0, its value at the start of the computational experiment, and E, its current value.</translation>
    </message>
    <message>
        <source>Если отметить флажок &lt;10^10 * (E-E0)/E0&gt;, то на нижнем рисунке строится ещё и погрешность решения по энергии: чем меньше она, тем точнее решение. Эта проверка служит для выбора тангенциальной жёсткости и коэффициентов вязкого трения для конструкции с другими массами и размерами, а главное — для выбора шага: чем массивнее детали и чем ниже их скорости, тем больше может быть шаг. Если при очень малом шаге программа считает очень медленно, увеличьте NC0 — тогда она будет реже обновлять поля и рисунки и станет тратить меньше времени на графику.</source>
        <translation>If you tick the box &lt;10^10 * (E-E0)/E0&gt;, the bottom picture also plots the energy error of the solution: the smaller it is, the more accurate the solution. This check serves to choose the tangential stiffness and the viscous-friction coefficients for a construction with other masses and sizes, and above all to choose the step: the more massive the parts and the lower their speeds, the larger the step can be. If with a very small step the program computes very slowly, increase NC0: it will then update the fields and the pictures less often and spend less time on graphics.</translation>
    </message>
    <message>
        <source>Чтобы увидеть, откуда берутся ошибки, вызванные ограниченной длиной машинного слова, отметьте флажок &lt;FT1&gt; или &lt;FT2&gt;: пока угол поворота диска мал, сила рисуется сплошной линией, которая затем расширяется и в конце концов расщепляется на две широкие полосы. Это происходит из-за неточного приведения полного угла поворота диска к углу от 0 до 2 * pi, при котором из полного угла вычитаются целые обороты по 2 * pi и берётся остаток. Поэтому неустойчивое решение методом Рунге–Кутты объясняется неверным выбором шага или коэффициентов демпфирования, а то и просто слишком малой длиной слова компьютера или типа данных, ведь сам метод Рунге–Кутты известен как один из самых устойчивых. Так что расщепление линии силы говорит о конечной длине слова, а не о погрешности самого метода.</source>
        <translation>To see where the errors caused by the limited length of the machine word come from, tick the box &lt;FT1&gt; or &lt;FT2&gt;: while the rotation angle of the disk is small, the force is drawn as a solid line, which then widens and in the end splits into two wide bands. This comes from the inexact reduction of the total rotation angle of the disk to an angle between 0 and 2 * pi, in which the whole turns of 2 * pi are subtracted from the total angle and the remainder is taken. So an unstable Runge–Kutta solution is explained by a wrong choice of the step or of the damping coefficients, or simply by too short a word length of the computer or of the data type, for the Runge–Kutta method itself is known as one of the most stable. So the splitting of the force line speaks of the finite word length, not of an error of the method itself.</translation>
    </message>
    <message>
        <source>Клавиши темпа: Ctrl+Вверх вдвое ускоряет расчёт, Ctrl+Вниз вдвое замедляет его (а из максимального темпа возвращает прежний), Ctrl+0 включает максимальный темп; клавиши действуют и тогда, когда курсор стоит в поле. Заголовок окна показывает темп, а если расчёт за ним не успевает, то и темп, которого он достигает.</source>
        <translation>The pace keys: Ctrl+Up makes the computation run twice as fast, Ctrl+Down half as fast (and from the fastest pace it goes back to the pace before), Ctrl+0 runs it as fast as the computer can; the keys work with the cursor in a field too. The title of the window shows the pace and, when the computation cannot keep up with it, the pace it reaches.</translation>
    </message>
</context>
</TS>
